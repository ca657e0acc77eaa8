#!/bin/bash
# Runs the end-to-end tests of a Windows build under the Wine on the PATH (the
# host's, or Wine 10 when run through scripts/wine10-root.sh) on a virtual
# display, with a private CUPS-PDF printer for the printing cases.
#   bash scripts/run-e2e.sh BUILD_WIN_DIR [ctest arguments, for example -R Startup]
# Environment: BAYLITH_WINEPREFIX (prefix, default <repo>/build/wineprefix-VERSION),
# BAYLITH_PDF_DIR (printed pages, default a folder of the run).
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
# package into the build folder (no system change, no root needed), again
# whenever another C library (the host's or the Debian 13 root's) runs the tests.
libc_version=$(ldd --version 2>/dev/null | head -n 1)
if [ ! -f "$build_dir/locale/ru_RU.UTF-8/LC_CTYPE" ] ||
   [ "$(cat "$build_dir/locale/libc" 2>/dev/null)" != "$libc_version" ]; then
    rm -rf "$build_dir/locale"
    mkdir -p "$build_dir/locale"
    if localedef -i ru_RU -f UTF-8 "$build_dir/locale/ru_RU.UTF-8"; then
        echo "$libc_version" >"$build_dir/locale/libc"
    else
        echo "run-e2e: no ru_RU.UTF-8 locale; the code page 1251 cases will fail" >&2
    fi
fi

echo "run-e2e: $(wine --version 2>/dev/null)"
xvfb_start || exit 1
# The printer's server first: Wine's services read CUPS_SERVER when they start.
cups_pdf_start || { echo "run-e2e: no CUPS-PDF printer: the printing cases cannot run" >&2; exit 1; }
wine_env_setup || exit 1

ctest --test-dir "$build_dir" --no-tests=error --output-on-failure -j1 "$@"
status=$?
exit $status
