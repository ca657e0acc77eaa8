#!/usr/bin/env bash
# Builds the benchmark suite (native, Release) in build/bench and runs it: the table,
# then each measured pair as a ratio of the same run against its target. Extra
# arguments go to the benchmark program (e.g. --benchmark_filter=read_bmp).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$repo/build/bench

source "$repo/scripts/build.sh"
baylith_build bench baylith_bench
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores"
"$build/bench/baylith_bench" "$@"
