#!/usr/bin/env bash
# Times the real baylith.exe under Wine as a user feels it (start, first view,
# drag, wheel, Save Snapshot, Print..) on the bundled sample data, with a private
# Xvfb and the CUPS-PDF printer. Builds the sample data (native build) and the
# Windows program and timing driver (cross build) first.
#   bash scripts/bench-wine.sh [NATIVE_BUILD_DIR [WINDOWS_BUILD_DIR]]
set -u
repo="$(cd "$(dirname "$0")/.." && pwd)"
native="${1:-$repo/build/native}"
win="${2:-$repo/build/win}"
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

cmake -S "$repo" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build "$native" -j"$jobs" --target sample_data >/dev/null || exit 1
cmake -S "$repo" -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build "$win" -j"$jobs" --target baylith baylith_wine_bench >/dev/null || exit 1

source "$repo/scripts/wine-env.sh"
source "$repo/scripts/cups-pdf.sh"
bench_wine_teardown() {
    wine_env_teardown
    cups_pdf_stop
}
trap bench_wine_teardown EXIT
xvfb_start || exit 1
wine_env_setup || exit 1
if ! cups_pdf_start; then
    echo "bench-wine: no CUPS-PDF printer; Print.. is not timed" >&2
    unset BAYLITH_PDF_DIR
fi

echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores;" \
     "load average $(cut -d' ' -f1-3 /proc/loadavg)"
BAYLITH_SAMPLE_DIR="$(cd "$native/sample" && pwd)" wine "$win/bench/win32/baylith_wine_bench.exe"
status=$?
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
