#!/usr/bin/env bash
# Runs the soak test: a long seeded random mix of user actions on the real
# baylith.exe under Wine (private Xvfb, CUPS-PDF printer) on the bundled sample
# data. Builds the sample data (native build) and the Windows programs first.
#   bash scripts/soak.sh [SECONDS]        (default: $SOAK_SECONDS, else 600)
# SOAK_SEED replays a run from the seed it printed. SOAK_SEEDS="SEED[:SECONDS] ..."
# replays several in turn in the same set-up, each for its SECONDS (default: the
# length above). The last line reads "soak: N passed, M failed" (all runs' checks).
set -u
repo="$(cd "$(dirname "$0")/.." && pwd)"
native="$repo/build/native"
win="$repo/build/win"
export SOAK_SECONDS="${1:-${SOAK_SECONDS:-600}}"

fail_early() {
    echo "soak: $1"
    echo "soak: 0 passed, 1 failed"
    exit 1
}
# The test command builds first and runs this inside the Debian 13 root too,
# where there is no compiler: BAYLITH_PREBUILT skips the build.
if [ -z "${BAYLITH_PREBUILT:-}" ]; then
    source "$repo/scripts/build.sh"
    baylith_build native sample_data >/dev/null || fail_early "no sample data"
    baylith_build win baylith baylith_soak >/dev/null || fail_early "cross build failed"
fi
[ -f "$native/sample/data/term.csv" ] || fail_early "no sample data in $native/sample/data"

source "$repo/scripts/wine-env.sh"
source "$repo/scripts/cups-pdf.sh"
SOAK_DIR=""
soak_teardown() {
    wine_env_teardown
    cups_pdf_stop
    [ -n "$SOAK_DIR" ] && rm -rf "$SOAK_DIR" "$SOAK_DIR.log"
}
trap soak_teardown EXIT
trap 'exit 130' INT TERM
echo "soak: $(wine --version 2>/dev/null)"
xvfb_start || fail_early "no Xvfb"
cups_pdf_start || fail_early "no CUPS-PDF printer"
wine_env_setup || fail_early "no Wine prefix"

echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores"
# The program works in a scratch folder holding a copy of the bundled data; the
# soak checks that it writes nowhere but the out\ folder there.
export SOAK_DIR="$(mktemp -d "$repo/build/soak.XXXXXX")"
cp -R "$native/sample/data" "$SOAK_DIR/data" || fail_early "cannot copy the sample data"
if [ -z "${SOAK_SEEDS:-}" ]; then
    wine "$win/tests/e2e/baylith_soak.exe"
    exit
fi

passed=0
failed=0
for entry in $SOAK_SEEDS; do
    seed=${entry%%:*}
    seconds=$SOAK_SECONDS
    [ "$entry" != "$seed" ] && seconds=${entry#*:}
    rm -rf "$SOAK_DIR/out"
    log="$SOAK_DIR.log"  # beside the scratch folder, which the soak watches
    SOAK_SEED=$seed SOAK_SECONDS=$seconds wine "$win/tests/e2e/baylith_soak.exe" | tee "$log"
    counts=$(tr -d '\r' <"$log" | grep -E '^soak: [0-9]+ passed, [0-9]+ failed$' | tail -n 1)
    if [ -z "$counts" ]; then
        failed=$((failed + 1))  # the run ended without its tally
        continue
    fi
    passed=$((passed + $(sed -E 's/^soak: ([0-9]+) passed.*/\1/' <<<"$counts")))
    failed=$((failed + $(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$counts")))
done
echo "soak: ${SOAK_SEEDS} (all seeds)"
echo "soak: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
