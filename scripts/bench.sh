#!/usr/bin/env bash
# Builds the benchmark suite (native, Release) in build/bench and runs it: the table,
# then each measured pair as a ratio of the same run against its target. Extra
# arguments go to the benchmark program (e.g. --benchmark_filter=read_bmp).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$repo/build/bench}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBAYLITH_BENCH=ON \
      -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target baylith_bench
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores"
"$build/bench/baylith_bench" "$@"
