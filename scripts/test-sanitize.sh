#!/usr/bin/env bash
# Builds the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer
# into ./build-asan (or $BUILD_DIR) and runs it there, as scripts/test.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build_dir=${BUILD_DIR:-build-asan}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELBASE_SANITIZE=ON >/dev/null
cmake --build "$build_dir" -j"${JOBS:-$(nproc)}"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build_dir"
dbus-run-session -- ctest --output-on-failure -j"${JOBS:-$(nproc)}"
