# Wine and virtual display set-up for running baylith.exe and its test driver.
# Source this file; it defines xvfb_start, wine_env_setup and wine_env_teardown.
#   source scripts/wine-env.sh
#   trap wine_env_teardown EXIT
#   xvfb_start && wine_env_setup
# Works as root with no terminal and no DISPLAY. One prefix serves one session at a
# time: first starts of a prefix collide, so give parallel sessions their own
# BAYLITH_WINEPREFIX.

BAYLITH_REPO_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BAYLITH_XVFB_PID=""

# Starts Xvfb on the first free display number from 90 up and exports DISPLAY;
# BAYLITH_XVFB_SCREEN sets its screen (default 1280x1024x24).
xvfb_start() {
    if [ -n "$BAYLITH_XVFB_PID" ] && kill -0 "$BAYLITH_XVFB_PID" 2>/dev/null; then
        return 0
    fi
    local number=${BAYLITH_DISPLAY_FIRST:-90}
    local attempts=0
    while [ $attempts -lt 20 ]; do
        while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
            number=$((number + 1))
        done
        Xvfb ":$number" -screen 0 "${BAYLITH_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
        BAYLITH_XVFB_PID=$!
        local waited=0
        while [ $waited -lt 100 ]; do
            if ! kill -0 "$BAYLITH_XVFB_PID" 2>/dev/null; then
                break   # lost a race for this number; try the next one
            fi
            if DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
                export DISPLAY=":$number"
                return 0
            fi
            sleep 0.1
            waited=$((waited + 1))
        done
        kill "$BAYLITH_XVFB_PID" 2>/dev/null
        wait "$BAYLITH_XVFB_PID" 2>/dev/null
        BAYLITH_XVFB_PID=""
        number=$((number + 1))
        attempts=$((attempts + 1))
    done
    echo "xvfb_start: no display could be started" >&2
    return 1
}

# Exports the Wine variables, creates the prefix once, and starts a persistent
# wineserver so that later starts are fast.
wine_env_setup() {
    # One prefix for each Wine version: a prefix that one Wine has set up is not
    # for another.
    local version
    version=$(wine --version 2>/dev/null | sed -E 's/^wine-([0-9.]+).*/\1/')
    export WINEPREFIX="${BAYLITH_WINEPREFIX:-$BAYLITH_REPO_DIR/build/wineprefix-${version:-unknown}}"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || { echo "wine_env_setup: wineboot failed" >&2; return 1; }
        wineserver -w
    fi
    # Debian's Wine looks for its own fonts in the wrong folder.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp -u /usr/share/wine/fonts/* "$fonts/" 2>/dev/null
    # Without a window manager every top-level DestroyWindow takes ~2 s; unmanaged
    # windows avoid that and get Windows-style frames.
    if ! grep -qs '"Managed"="N"' "$WINEPREFIX/user.reg"; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    fi
    wineserver -p60 >/dev/null 2>&1 &
    # Start Wine's own services now, with no terminal or pipe of ours: services
    # started by a test would inherit its output pipes, and ctest would wait for
    # them to close.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    return 0
}

# Stops the wineserver of the prefix and the Xvfb started above. Safe to call twice.
wine_env_teardown() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1
    fi
    if [ -n "$BAYLITH_XVFB_PID" ]; then
        kill "$BAYLITH_XVFB_PID" 2>/dev/null
        wait "$BAYLITH_XVFB_PID" 2>/dev/null
        BAYLITH_XVFB_PID=""
    fi
    return 0
}
