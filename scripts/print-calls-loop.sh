#!/usr/bin/env bash
# Runs tools/print_calls_loop.exe under the current Wine (private Xvfb and
# CUPS-PDF printer) in each mode given, default every one:
#   bash scripts/print-calls-loop.sh [JOBS] [MODE...]
# Under Wine 10: bash scripts/wine10-root.sh run bash scripts/print-calls-loop.sh
set -u
repo="$(cd "$(dirname "$0")/.." && pwd)"
jobs=${1:-30}
shift
modes=("$@")
[ ${#modes[@]} -eq 0 ] && modes=(bitmap printer context job kept)
source "$repo/scripts/wine-env.sh"
source "$repo/scripts/cups-pdf.sh"
trap 'wine_env_teardown; cups_pdf_stop' EXIT
xvfb_start && cups_pdf_start && wine_env_setup || exit 1
echo "$(wine --version)"
for mode in "${modes[@]}"; do
    timeout 300 wine "$repo/build/win/tools/print_calls_loop.exe" "$mode" "$jobs"
done
