#!/bin/bash
# Runs driver cases with the display at DPI dots per inch (Wine's LogPixels), in a
# prefix (build/wineprefix-VERSION-dpi) and on a 2048x1536 Xvfb of their own, inside
# the session of scripts/wine.sh: the 96 dpi cases keep theirs.
#   at_dpi.sh DPI EMULATOR DRIVER_EXE [driver arguments]
set -u
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if [ "${1:-}" != --in-prefix ]; then
    release=$(wine --version | sed -E 's/^wine-([0-9.]+).*/\1/')
    export BAYLITH_XVFB_SCREEN=2048x1536x24 BAYLITH_WINEPREFIX="$repo/build/wineprefix-$release-dpi"
    exec bash "$repo/scripts/wine.sh" --own-display "${release%%.*}" bash "${BASH_SOURCE[0]}" --in-prefix "$@"
fi
shift
dpi=$1 emulator=$2
shift 2
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
# Wine 10's desktop keeps the scale it started with (a new program's window gets
# it, not the new one): start the prefix's server and desktop again.
wineserver -k
wineserver -w
wineserver -p60 >/dev/null 2>&1 &
wine cmd /c exit </dev/null >/dev/null 2>&1
BAYLITH_E2E_DPI=$dpi "$emulator" "$@"
