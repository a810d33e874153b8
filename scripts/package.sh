#!/usr/bin/env bash
# Builds the Debian package into ./build (or $BUILD_DIR) and checks it: the
# files it carries, lintian, and the packaged zelbase-cli run from a folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh dpkg-dev file lintian appstream desktop-file-utils
build_dir=${BUILD_DIR:-build}
BUILD_DIR=$build_dir scripts/build.sh -DCMAKE_INSTALL_PREFIX=/usr
(cd "$build_dir" && rm -f zelbase_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build_dir"/zelbase_*.deb)
echo "package: $deb"

fail() { echo "package check failed: $*" >&2; exit 1; }

contents=$(dpkg-deb --contents "$deb")
for f in usr/bin/zelbase usr/bin/zelbase-cli usr/share/zelbase/Help/ZELBase.html \
    usr/share/dbus-1/services/Zhrm.Server.service usr/share/applications/ru.zel.ZELBase.desktop \
    usr/share/metainfo/ru.zel.ZELBase.metainfo.xml usr/share/icons/hicolor/scalable/apps/zelbase.svg \
    usr/share/icons/hicolor/48x48/apps/zelbase.png usr/share/icons/hicolor/256x256/apps/zelbase.png \
    usr/share/man/man1/zelbase.1.gz usr/share/man/man1/zelbase-cli.1.gz \
    usr/share/bash-completion/completions/zelbase-cli usr/share/doc/zelbase/copyright \
    usr/share/doc/zelbase/examples/zelbase-prices.timer; do
  grep -q " \./$f\$" <<<"$contents" || fail "$f is missing"
done
depends=$(dpkg-deb --field "$deb" Depends)
grep -q qt6-translations-l10n <<<"$depends" || fail "Depends lacks qt6-translations-l10n: $depends"
echo "depends: $depends"

appstreamcli validate --no-net data/desktop/ru.zel.ZELBase.metainfo.xml
desktop-file-validate data/desktop/ru.zel.ZELBase.desktop
# lintian refuses to run as root unless told; errors fail, warnings are printed.
lintian --allow-root --fail-on error --tag-display-limit 0 "$deb"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
dpkg -x "$deb" "$tmp/root"
HOME=$tmp/home XDG_DATA_HOME=$tmp/home/share "$tmp/root/usr/bin/zelbase-cli" --demo channels >"$tmp/channels"
grep -q "ЖРМ 200" "$tmp/channels" || fail "the packaged zelbase-cli --demo channels printed: $(cat "$tmp/channels")"
# A user who cannot write usr/bin keeps the files under $XDG_DATA_HOME/ZELBase.
mkdir -p "$tmp/user"
chown nobody:nogroup "$tmp/user"
setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$tmp/user" XDG_DATA_HOME="$tmp/user/share" \
  "$tmp/root/usr/bin/zelbase-cli" channels >/dev/null 2>"$tmp/first-run"
[ -f "$tmp/user/share/ZELBase/Base/Base1.bsd" ] || fail "no base files under \$XDG_DATA_HOME/ZELBase"
echo "package checks passed"
