#!/bin/bash
# Runs the end-to-end tests of a Windows build under Wine on a virtual display,
# with a CUPS-PDF printer for the printing cases.
#   bash scripts/run-e2e.sh BUILD_WIN_DIR
# Environment: BAYLITH_WINEPREFIX (prefix, default <repo>/build/wineprefix),
# BAYLITH_PDF_DIR (printed pages, default /tmp/baylith-pdf), and any ctest
# arguments after the build directory (for example -R Startup).
set -u
if [ $# -lt 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 BUILD_WIN_DIR [ctest arguments]" >&2
    exit 2
fi
build_dir="$(cd "$1" && pwd)"
shift
script_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$script_dir/wine-env.sh"
source "$script_dir/cups-pdf.sh"

run_e2e_teardown() {
    wine_env_teardown
    cups_pdf_stop
}
trap run_e2e_teardown EXIT

# The Cyrillic locale of the code page 1251 cases, built from the `locales`
# package into the build folder (no system change, no root needed).
if [ ! -f "$build_dir/locale/ru_RU.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$build_dir/locale"
    localedef -i ru_RU -f UTF-8 "$build_dir/locale/ru_RU.UTF-8" ||
        echo "run-e2e: no ru_RU.UTF-8 locale; the code page 1251 cases will fail" >&2
fi

xvfb_start || exit 1
wine_env_setup || exit 1
if ! cups_pdf_start; then
    echo "run-e2e: no CUPS-PDF printer; the printing cases will be skipped" >&2
    unset BAYLITH_PDF_DIR
fi

ctest --test-dir "$build_dir" --output-on-failure -j1 "$@"
status=$?
exit $status
