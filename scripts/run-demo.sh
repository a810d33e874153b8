#!/usr/bin/env bash
# Installs what is missing, builds, and starts ZELBase on its virtual device line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/src/app/zelbase --demo "$@"
