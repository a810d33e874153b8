#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, ASan and UBSan into
# ./build-fuzz (or $FUZZ_BUILD) and runs each for SECONDS (default 60) on
# its corpus under fuzz/corpus/<target>/, then prints each target's
# executions and crashes; a crashing input is kept under $FUZZ_BUILD/artifacts.
# Usage: fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang-14 libclang-rt-14-dev
seconds=${1:-60}
shift || true
out=${FUZZ_BUILD:-build-fuzz}
cxx=${CXX_FUZZ:-clang++-14}
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc -Ifuzz -pthread)
library=(src/common/cp1251.cpp src/devices/field_codecs.cpp src/devices/accounting_bcd.cpp
  src/devices/barcode_answer13.cpp src/devices/barcode_answer16.cpp src/devices/control_tape.cpp
  src/devices/zhrm15_record.cpp src/devices/zhrm20_record.cpp src/devices/zhrm3_record.cpp
  src/devices/zhrm200_record.cpp src/devices/register_record.cpp src/base/base_record.cpp
  src/base/cell_rules.cpp src/base/device_types.cpp src/base/product_table.cpp src/base/ini_file.cpp src/base/atomic_file.cpp src/link/frames.cpp
  src/exchange/import_line.cpp src/exchange/zel_base_file.cpp src/server/server_value.cpp
  src/link/telnet.cpp src/link/rfc2217_port.cpp src/link/tcp_endpoint.cpp src/link/clock.cpp)
targets=(${@:-device_replies base_records settings import_line server_value telnet_stream})
mkdir -p "$out/obj"
objects=()
for src in "${library[@]}"; do
  obj="$out/obj/$(echo "$src" | tr / _).o"
  [[ "$obj" -nt "$src" ]] || "$cxx" "${flags[@]/-fsanitize=fuzzer,/-fsanitize=fuzzer-no-link,}" -c "$src" -o "$obj"
  objects+=("$obj")
done
for t in "${targets[@]}"; do
  "$cxx" "${flags[@]}" "fuzz/${t}_fuzz.cpp" "${objects[@]}" -o "$out/$t"
done
crashed=0
mkdir -p "$out/artifacts"
for t in "${targets[@]}"; do
  work="$out/corpus/$t"
  mkdir -p "$work"
  log="$out/$t.log"
  status=0
  "$out/$t" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$out/artifacts/$t-" \
    "$work" "fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [[ $status -ne 0 ]]; then
    crashed=$((crashed + 1))
    grep -E "ERROR|SUMMARY|Test unit written" "$log" || true
  fi
  printf '%-16s %ss  %12s executions  %s\n' "$t" "$seconds" "${runs:-?}" \
    "$([[ $status -eq 0 ]] && echo "no crash" || echo "CRASH (see $log)")"
done
exit "$crashed"
