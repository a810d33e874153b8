#!/usr/bin/env bash
# Installs the Debian 12 packages ZELBase needs to build, run and test.
# Only what is missing is installed; run as root or with sudo available.
# Packages given as arguments are installed too (the fuzz script's clang).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-translations-l10n
  libgtest-dev libgmock-dev
  dbus dbus-x11 python3-dbus
  xvfb xauth
  ser2net
)

packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
