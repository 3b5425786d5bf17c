#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang++ into build/fuzz and runs each for a while.
#
#   scripts/fuzz.sh [seconds-per-target] [target...]
#
# Default 600 seconds per target, all targets. `scripts/fuzz.sh 5` is the short run of the test
# command. Each target starts from its seeds in fuzz/corpus/<target> and keeps what it finds in
# build/fuzz/corpus/<target>, so the seeds in the tree stay small and a longer run picks up where
# the last one stopped. A crash, leak, sanitizer report, time-out (an input running longer than
# FUZZ_INPUT_TIMEOUT seconds) or going over FUZZ_RSS_MB fails the run; the input that did it is
# left in build/fuzz/artifacts/<target>/ and the log in build/fuzz/logs/<target>.log.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-600}
shift || true
input_timeout=${FUZZ_INPUT_TIMEOUT:-10}
rss_mb=${FUZZ_RSS_MB:-2048}
build="$root/build/fuzz"

if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "fuzz: seconds per target must be a positive whole number, not '$seconds'" >&2
  exit 2
fi

cxx=${FUZZ_CXX:-}
if [ -z "$cxx" ]; then
  for candidate in clang++ clang++-14; do
    if command -v "$candidate" >/dev/null 2>&1; then
      cxx=$candidate
      break
    fi
  done
fi
if [ -z "$cxx" ]; then
  echo "fuzz: clang++ not found; run scripts/install-deps.sh" >&2
  exit 1
fi

generator=()
if command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root/fuzz" -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
fi
cmake --build "$build" --parallel

all_targets=(fuzz_fixed_reply fuzz_length_prefixed fuzz_security_record fuzz_fw_version
             fuzz_package_layout fuzz_scenario fuzz_discovery fuzz_libusb_ids
             fuzz_ieee1284_device_id fuzz_usb_device_uri fuzz_cli_options fuzz_history_line)
if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=("${all_targets[@]}")
fi

mkdir -p "$build/logs"
failed=()
for target in "${targets[@]}"; do
  binary="$build/$target"
  if [ ! -x "$binary" ]; then
    echo "fuzz: no target $target" >&2
    exit 2
  fi
  seeds="$root/fuzz/corpus/$target"
  work="$build/corpus/$target"
  artifacts="$build/artifacts/$target/"
  log="$build/logs/$target.log"
  mkdir -p "$work" "$artifacts"
  extra=()
  if [ "$target" = fuzz_scenario ]; then
    extra+=(-max_len=16384)  # scenario files run to a few kilobytes
  fi
  if [ -f "$root/fuzz/$target.dict" ]; then
    extra+=(-dict="$root/fuzz/$target.dict")
  fi

  status=0
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0} \
  UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
    "$binary" -max_total_time="$seconds" -timeout="$input_timeout" -rss_limit_mb="$rss_mb" \
      -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$artifacts" "${extra[@]}" \
      "$work" "$seeds" >"$log" 2>&1 || status=$?

  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  corpus=$(find "$work" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    verdict=ok
  else
    verdict="FAILED (exit $status)"
    failed+=("$target")
  fi
  printf 'fuzz: %-22s %s  runs %s  %s exec/s  cov %s  ft %s  corpus %s\n' "$target" \
    "$verdict" "${runs:-?}" "${speed:-?}" "${cov:-?}" "${ft:-?}" "$corpus"
  if [ "$status" -ne 0 ]; then
    grep -E 'ERROR|SUMMARY|Test unit written|timeout|out-of-memory|hang' "$log" | head -8 >&2 || true
    echo "fuzz: full log: $log" >&2
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: ${#failed[@]} target(s) failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: all ${#targets[@]} targets ran ${seconds}s without a finding"
