#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, ASan and UBSan (the CMake
# option ZEL_FUZZ) into ./build-fuzz (or $FUZZ_BUILD) and runs each for
# SECONDS (default 60) on its corpus under fuzz/corpus/<target>/, then prints
# each target's executions, coverage and crashes; a crashing input is kept
# under $FUZZ_BUILD/artifacts. Exit status: the number of targets that crashed.
# Usage: fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang-14 libclang-rt-14-dev
seconds=${1:-60}
shift || true
out=${FUZZ_BUILD:-build-fuzz}
cmake -S . -B "$out" -G Ninja -DZEL_FUZZ=ON -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++-14}" \
  -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-O1 -g" >/dev/null
cmake --build "$out" --target fuzz_targets -j"${JOBS:-$(nproc)}"
mapfile -t all <"$out/fuzz/targets.txt"
targets=("${all[@]}")
(($#)) && targets=("$@")
crashed=0
mkdir -p "$out/artifacts"
for t in "${targets[@]}"; do
  work="$out/corpus/$t"
  mkdir -p "$work"
  log="$out/$t.log"
  status=0
  # An input that runs for a minute is a hang, and fails like a crash.
  "$out/fuzz/$t" -max_total_time="$seconds" -timeout=60 -print_final_stats=1 \
    -artifact_prefix="$out/artifacts/$t-" "$work" "fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  # The last status line carries the final coverage: "cov: N ft: M".
  cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1 || true)
  if [[ $status -ne 0 ]]; then
    crashed=$((crashed + 1))
    grep -E "ERROR|SUMMARY|Test unit written" "$log" || true
  fi
  printf '%-16s %ss  %12s executions  %-20s %s\n' "$t" "$seconds" "${runs:-?}" "${cov:-cov: ?}" \
    "$([[ $status -eq 0 ]] && echo "no crash" || echo "CRASH (see $log)")"
done
exit "$crashed"
