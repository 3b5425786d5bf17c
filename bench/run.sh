#!/usr/bin/env bash
# Builds the benchmarks and prints the six figures against their targets:
#   transfer  SendElf's throughput against the digest check and a plain
#             loop of 256 KiB writes                                        (>= 0.95)
#   check     the digest check's share of a whole send at USB 2.0 line rate (< 5 %)
#   memory    peak resident growth while a package is sent                  (<= 32 MiB)
#   start-up  to the idle look, full-size packages against 1 MiB ones       (<= 1.5)
#   progress  cost of the per-block reports through the Qt window           (< 2 %)
#   parallel  upgrade --all --verify --parallel over eight simulated printers
#             against one printer alone                                     (<= 1.25)
#             and each child's peak resident over an idle check's            (<= 32 MiB),
#             with the sequential --all run's time beside them (no target)
#
#   bash bench/run.sh                   # everything
#   bash bench/run.sh --repetitions=15  # more repetitions of the timed benchmarks (default 9)
#
# Other arguments go to fwup_bench (Google Benchmark flags, e.g. --benchmark_filter=transfer).
# A --benchmark_filter leaves out the parallel figure (about 3 minutes), except
# --benchmark_filter=parallel, which runs that figure alone.
# Uses its own build tree (build/bench), so the presets' trees are left alone; needs about
# 2.5 GB of disk for the generated packages and the executables that carry them. Exits non-zero
# when a figure misses its target. Quietest on an otherwise idle machine.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ \
  -DFWUP_BUILD_BENCH=ON -DFWUP_BENCH_FULL_PAYLOAD=190590352 -DFWUP_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target fwup_bench fwup_bench_cli

bench="$build/bench/fwup_bench"
figures=$(mktemp)
trap 'rm -f "$figures"' EXIT

# Memory: each in a process of its own, since the peak never comes down. Parts of the package
# stand in for smaller packages, to show the growth does not follow the size; the last line is
# the same stream keeping its pages, for comparison.
for bytes in 16777216 67108864 ""; do
  # shellcheck disable=SC2086
  "$bench" --memory $bytes | tee -a "$figures" || true
done
"$bench" --memory --keep-pages | tee -a "$figures" || true

filter=""
for arg in "$@"; do
  case $arg in --benchmark_filter=*) filter=${arg#--benchmark_filter=} ;; esac
done

# A missed figure is reported below; a benchmark that could not run leaves its figure missed.
if [ "$filter" != parallel ]; then
  "$bench" "$@" | tee -a "$figures" || true
fi

# The console program with the full packages, eight simulated printers at once (the script
# says how it measures).
if [ -z "$filter" ] || [ "$filter" = parallel ]; then
  /usr/bin/python3 "$root/bench/parallel_figure.py" "$build/bench/fwup_bench_cli" |
    tee -a "$figures" ||
    echo "figure  parallel  could not run (above)                                    MISSED" |
    tee -a "$figures"
fi

echo
echo "Figures (medians; see docs/performance.md):"
grep '^figure' "$figures"
if ! grep -q '^figure' "$figures" || grep '^figure' "$figures" | grep -q 'MISSED$'; then
  exit 1
fi
