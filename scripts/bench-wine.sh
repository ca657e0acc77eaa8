#!/usr/bin/env bash
# Times the real baylith.exe under Wine as a user feels it (start, first view,
# drag, wheel, Save Snapshot, Print..) on the bundled sample data, then splits a
# maximised redraw on both presentation paths (the timing builds). On a private
# 1920x1080 Xvfb, under the host's Wine 8 and then under Wine 10 in the Debian 13
# root (scripts/wine10-root.sh; made first when it is missing). Builds the sample
# data (native build) and the Windows programs (cross build) first.
#   bash scripts/bench-wine.sh [NATIVE_BUILD_DIR [WINDOWS_BUILD_DIR]]
# BAYLITH_BENCH_WINES: "8 10" (default), "8" or "10"; BAYLITH_BENCH_SPLIT_ONLY=1: only the split.
set -u
repo="$(cd "$(dirname "$0")/.." && pwd)"

# One Wine's run: bench-wine.sh --run NATIVE_BUILD_DIR WINDOWS_BUILD_DIR
if [ "${1:-}" = "--run" ]; then
    native="$2"
    win="$3"
    source "$repo/scripts/wine-env.sh"
    source "$repo/scripts/cups-pdf.sh"
    bench_wine_teardown() {
        wine_env_teardown
        [ -n "${BAYLITH_BENCH_NO_PRINT:-}" ] || cups_pdf_stop
    }
    trap bench_wine_teardown EXIT
    export BAYLITH_XVFB_SCREEN=1920x1080x24
    xvfb_start || exit 1
    wine_env_setup || exit 1
    if [ -n "${BAYLITH_BENCH_NO_PRINT:-}" ]; then
        echo "bench-wine: Print.. is not timed here (no CUPS-PDF printer of this run's own)"
        unset BAYLITH_PDF_DIR
    elif ! cups_pdf_start; then
        echo "bench-wine: no CUPS-PDF printer; Print.. is not timed" >&2
        unset BAYLITH_PDF_DIR
    fi
    echo "$(wine --version 2>/dev/null), screen $BAYLITH_XVFB_SCREEN;" \
         "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores;" \
         "load average $(cut -d' ' -f1-3 /proc/loadavg)"
    BAYLITH_SAMPLE_DIR="$(cd "$native/sample" && pwd)" wine "$win/bench/win32/baylith_wine_bench.exe"
    status=$?
    echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
    exit $status
fi

native="$(mkdir -p "${1:-$repo/build/native}" && cd "${1:-$repo/build/native}" && pwd)"
win="$(mkdir -p "${2:-$repo/build/win}" && cd "${2:-$repo/build/win}" && pwd)"
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

cmake -S "$repo" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build "$native" -j"$jobs" --target sample_data >/dev/null || exit 1
cmake -S "$repo" -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build "$win" -j"$jobs" --target baylith baylith_wine_bench >/dev/null || exit 1

status=0
for wine_version in ${BAYLITH_BENCH_WINES:-8 10}; do
    case "$wine_version" in
    8)
        echo "== Wine 8 (host) =="
        bash "$repo/scripts/bench-wine.sh" --run "$native" "$win" || status=1
        ;;
    10)
        echo "== Wine 10 (Debian 13 root) =="
        source "$repo/scripts/wine10-root.sh"
        if ! wine10_root_make; then
            echo "bench-wine: FAILED: no Debian 13 root with Wine 10 (see above)" >&2
            status=1
            continue
        fi
        # Its own prefix; the root's CUPS is not started (the root is not changed).
        wine10_root_run "export BAYLITH_WINEPREFIX='$repo/build/wineprefix10-bench' BAYLITH_BENCH_NO_PRINT=1 \
                BAYLITH_BENCH_SPLIT_ONLY='${BAYLITH_BENCH_SPLIT_ONLY:-}';
            bash '$repo/scripts/bench-wine.sh' --run '$native' '$win'" || status=1
        ;;
    *)
        echo "bench-wine: unknown Wine '$wine_version' in BAYLITH_BENCH_WINES" >&2
        status=1
        ;;
    esac
done
exit $status
