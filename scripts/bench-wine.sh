#!/usr/bin/env bash
# Times the real baylith.exe under Wine as a user feels it (start, first view,
# drag, wheel, Save Snapshot, Print..) on the bundled sample data, then splits a
# maximised redraw (the timing build: the bitmap path under Wine 8, the window
# path under Wine 10). On a private 1920x1080 Xvfb, under the host's Wine 8 and
# then under Wine 10 in the Debian 13 root (scripts/wine10-root.sh; made first
# when it is missing). Builds the sample data and the Windows programs first.
#   bash scripts/bench-wine.sh
# BAYLITH_BENCH_WINES: "8 10" (default), "8" or "10"; BAYLITH_BENCH_SPLIT_ONLY=1: only the split.
set -u
repo="$(cd "$(dirname "$0")/.." && pwd)"

# One Wine's run: bench-wine.sh --run (under the host's Wine or inside the root).
if [ "${1:-}" = "--run" ]; then
    native="$repo/build/native"
    win="$repo/build/win"
    source "$repo/scripts/wine-env.sh"
    source "$repo/scripts/cups-pdf.sh"
    bench_wine_teardown() {
        wine_env_teardown
        cups_pdf_stop
    }
    trap bench_wine_teardown EXIT
    export BAYLITH_XVFB_SCREEN=1920x1080x24
    xvfb_start || exit 1
    cups_pdf_start || exit 1
    wine_env_setup || exit 1
    echo "$(wine --version 2>/dev/null), screen $BAYLITH_XVFB_SCREEN;" \
         "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores;" \
         "load average $(cut -d' ' -f1-3 /proc/loadavg)"
    BAYLITH_SAMPLE_DIR="$native/sample" wine "$win/bench/win32/baylith_wine_bench.exe"
    status=$?
    echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
    exit $status
fi

source "$repo/scripts/build.sh"
baylith_build native sample_data >/dev/null || exit 1
baylith_build win baylith baylith_wine_bench >/dev/null || exit 1

status=0
for wine_version in ${BAYLITH_BENCH_WINES:-8 10}; do
    case "$wine_version" in
    8)
        echo "== Wine 8 (host) =="
        bash "$repo/scripts/bench-wine.sh" --run || status=1
        ;;
    10)
        echo "== Wine 10 (Debian 13 root) =="
        bash "$repo/scripts/wine10-root.sh" run bash "$repo/scripts/bench-wine.sh" --run || status=1
        ;;
    *)
        echo "bench-wine: unknown Wine '$wine_version' in BAYLITH_BENCH_WINES" >&2
        status=1
        ;;
    esac
done
exit $status
