#!/bin/bash
# Runs driver cases with the display at DPI dots per inch (Wine's LogPixels), in a
# prefix (build/wineprefix-VERSION-dpi) and on a 2048x1536 Xvfb of their own: the
# 96 dpi cases keep theirs.
#   at_dpi.sh DPI EMULATOR DRIVER_EXE [driver arguments]
set -u
dpi=$1 emulator=$2
shift 2
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine-env.sh"
trap wine_env_teardown EXIT
BAYLITH_XVFB_SCREEN=2048x1536x24 xvfb_start || exit 1
export BAYLITH_WINEPREFIX="$BAYLITH_REPO_DIR/build/wineprefix-$(wine --version | sed -E 's/^wine-([0-9.]+).*/\1/')-dpi"
wine_env_setup || exit 1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
# Wine 10's desktop keeps the scale it started with (a new program's window gets
# it, not the new one): start the prefix's server and desktop again.
wineserver -k
wineserver -w
wine_env_setup || exit 1
BAYLITH_E2E_DPI=$dpi "$emulator" "$@"
