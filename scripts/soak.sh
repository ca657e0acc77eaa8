#!/usr/bin/env bash
# Runs the soak test: a long seeded random mix of user actions on the real
# baylith.exe under Wine (private Xvfb, CUPS-PDF printer) on the bundled sample
# data. Builds the sample data (native build) and the Windows programs first.
#   bash scripts/soak.sh [SECONDS]        (default: $SOAK_SECONDS, else 600)
# SOAK_SEED replays a run from the seed it printed. The last line reads
# "soak: N passed, M failed".
set -u
repo="$(cd "$(dirname "$0")/.." && pwd)"
native="${SOAK_NATIVE_BUILD:-$repo/build/native}"
win="${SOAK_WIN_BUILD:-$repo/build/win}"
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
export SOAK_SECONDS="${1:-${SOAK_SECONDS:-600}}"

fail_early() {
    echo "soak: $1"
    echo "soak: 0 passed, 1 failed"
    exit 1
}
cmake -S "$repo" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || fail_early "native configure failed"
cmake --build "$native" -j"$jobs" --target sample_data >/dev/null || fail_early "no sample data"
cmake -S "$repo" -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null || fail_early "cross configure failed"
cmake --build "$win" -j"$jobs" --target baylith baylith_soak >/dev/null || fail_early "cross build failed"

source "$repo/scripts/wine-env.sh"
source "$repo/scripts/cups-pdf.sh"
soak_teardown() {
    wine_env_teardown
    cups_pdf_stop
}
trap soak_teardown EXIT
xvfb_start || fail_early "no Xvfb"
wine_env_setup || fail_early "no Wine prefix"
cups_pdf_start || echo "soak: no CUPS-PDF printer; Print.. will report no dialog" >&2

echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores"
# The program works in a scratch folder holding a copy of the bundled data; the
# soak checks that it writes nowhere but the out\ folder there.
export SOAK_DIR="$(mktemp -d "$repo/build/soak.XXXXXX")"
cp -R "$native/sample/data" "$SOAK_DIR/data" || fail_early "cannot copy the sample data"
wine "$win/tests/win32/baylith_soak.exe"
status=$?
rm -rf "$SOAK_DIR"
exit $status
