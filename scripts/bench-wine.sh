#!/usr/bin/env bash
# Times the real baylith.exe under Wine as a user feels it (start, first view,
# drag, wheel, Save Snapshot, Print..) on the bundled sample data, then splits a
# maximised redraw (the timing build: the bitmap path under Wine 8, the window
# path under Wine 10), on a 1920x1080 display of its own under each Wine in turn.
# Builds the sample data and the Windows programs first.
#   bash scripts/bench-wine.sh
# BAYLITH_BENCH_WINES: "8 10" (default), "8" or "10"; BAYLITH_BENCH_SPLIT_ONLY=1: only the split.
set -u
cd "$(dirname "$0")/.."
source scripts/build.sh
baylith_build native sample_data >/dev/null || exit 1
baylith_build win baylith baylith_wine_bench >/dev/null || exit 1

export BAYLITH_XVFB_SCREEN=1920x1080x24 BAYLITH_SAMPLE_DIR="$PWD/build/native/sample"
status=0
for version in ${BAYLITH_BENCH_WINES:-8 10}; do
    echo "== Wine $version"
    bash scripts/wine.sh "$version" bash -c '
        echo "screen $BAYLITH_XVFB_SCREEN; machine: $(grep -m1 "model name" /proc/cpuinfo | cut -d: -f2- | sed "s/^ //"), $(nproc) cores; load average $(cut -d" " -f1-3 /proc/loadavg)"
        wine build/win/bench/win32/baylith_wine_bench.exe
        status=$?
        echo "load average at the end: $(cut -d" " -f1-3 /proc/loadavg)"
        exit $status' || status=1
done
exit $status
