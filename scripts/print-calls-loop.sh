#!/usr/bin/env bash
# Runs tools/print_calls_loop.exe under Wine (scripts/wine.sh: a display and a
# CUPS-PDF printer of its own) in each mode given, default every one:
#   bash scripts/print-calls-loop.sh [JOBS] [MODE...]      BAYLITH_WINE: 8 (default) or 10
set -u
cd "$(dirname "$0")/.."
jobs=${1:-30}
shift
modes=("$@")
[ ${#modes[@]} -eq 0 ] && modes=(bitmap printer context job kept)
exec bash scripts/wine.sh "${BAYLITH_WINE:-8}" bash -c '
    jobs=$1; shift
    for mode; do timeout 300 wine build/win/tools/print_calls_loop.exe "$mode" "$jobs"; done
' print-calls-loop "$jobs" "${modes[@]}"
