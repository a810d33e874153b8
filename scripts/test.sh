#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test without a display,
# with a private D-Bus session bus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd "${BUILD_DIR:-build}"
dbus-run-session -- ctest --output-on-failure -j"$(nproc)"
