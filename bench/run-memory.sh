#!/usr/bin/env bash
# Builds and runs the memory benchmark: a package of the shipped size (190,590,411 bytes),
# embedded in the benchmark executable, sent to a simulated printer. Prints the growth of peak
# resident memory against the package's size; exits non-zero when it is not below 1.1 times.
#
#   bash bench/run-memory.sh                 # the program's way (no copy of the package)
#   bash bench/run-memory.sh --two-copies    # for comparison: two heap copies during the send
#
# Uses its own build tree (build/bench), so the presets' trees are left alone. Needs ~600 MB of
# disk for the generated package and the executable that carries it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ \
  -DFWUP_BUILD_BENCH=ON -DFWUP_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target fwup_memory_bench
"$build/bench/fwup_memory_bench" "$@"
