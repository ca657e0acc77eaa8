#!/usr/bin/env bash
# Starts baylith.exe under Wine on the bundled sample data.
#   bash scripts/run.sh [NATIVE_BUILD_DIR [WINDOWS_BUILD_DIR]]   (default build/native build/win)
# The data set comes from the native build (target sample_data) and is copied to
# data/ next to baylith.exe, which runs from that folder.
# With DISPLAY set the viewer runs there until it is closed. Without one it runs on a
# private Xvfb for a few seconds, long enough for every tile to load, and a
# screenshot of its window is written to build/screenshot.png.
set -u
repo_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
native_dir="${1:-$repo_dir/build/native}"
win_dir="${2:-$repo_dir/build/win}"
screenshot="$repo_dir/build/screenshot.png"
settle_seconds="${BAYLITH_RUN_SECONDS:-8}"

exe="$win_dir/baylith.exe"
if [ ! -f "$exe" ]; then
    echo "run: $exe not found; build the Windows program first (make run does)" >&2
    exit 1
fi
win_dir="$(cd "$win_dir" && pwd)"

sample_dir="$native_dir/sample/data"
if [ ! -f "$sample_dir/term.csv" ]; then
    echo "run: no sample data in $sample_dir; build the native target sample_data first (make run does)" >&2
    exit 1
fi
rm -rf "$win_dir/data"
cp -R "$sample_dir" "$win_dir/data" || exit 1

if [ "${BAYLITH_RUN_HEADLESS:-}" != 1 ]; then
    # With a display of the caller's: the viewer there until it is closed.
    if [ -n "${DISPLAY:-}" ]; then
        exec bash "$repo_dir/scripts/wine.sh" 8 --desktop bash -c 'cd "$1" && wine baylith.exe' run "$win_dir"
    fi
    # Without one: this script again in a session of scripts/wine.sh (a private
    # Xvfb), for a fixed time, then a screenshot.
    BAYLITH_RUN_HEADLESS=1 exec bash "$repo_dir/scripts/wine.sh" 8 bash "$0" "$native_dir" "$win_dir"
fi
(cd "$win_dir" && exec wine baylith.exe) >/dev/null 2>&1 &
viewer_pid=$!
trap 'kill "$viewer_pid" 2>/dev/null; wait "$viewer_pid" 2>/dev/null' EXIT

# Wait for the main window, then give the tiles time to arrive (one per 100 ms).
waited=0
while [ $waited -lt 150 ] && ! xwininfo -name "Baylith 1.0" >/dev/null 2>&1; do
    if ! kill -0 "$viewer_pid" 2>/dev/null; then
        echo "run: baylith.exe ended before its window appeared" >&2
        exit 1
    fi
    sleep 0.1
    waited=$((waited + 1))
done
if ! xwininfo -name "Baylith 1.0" >/dev/null 2>&1; then
    echo "run: baylith.exe runs but its window did not appear within 15 s" >&2
    exit 1
fi
sleep "$settle_seconds"

mkdir -p "$(dirname "$screenshot")"
# Crop to the main window.
geometry="$(xwininfo -name "Baylith 1.0" 2>/dev/null)"
crop=""
if [ -n "$geometry" ]; then
    x=$(echo "$geometry" | sed -n 's/.*Absolute upper-left X: *\(-\?[0-9]*\).*/\1/p')
    y=$(echo "$geometry" | sed -n 's/.*Absolute upper-left Y: *\(-\?[0-9]*\).*/\1/p')
    w=$(echo "$geometry" | sed -n 's/.*Width: *\([0-9]*\).*/\1/p')
    h=$(echo "$geometry" | sed -n 's/.*Height: *\([0-9]*\).*/\1/p')
    if [ -n "$x" ] && [ -n "$y" ] && [ -n "$w" ] && [ -n "$h" ] && [ "$w" -gt 0 ] && [ "$h" -gt 0 ]; then
        [ "$x" -lt 0 ] && { w=$((w + x)); x=0; }
        [ "$y" -lt 0 ] && { h=$((h + y)); y=0; }
        crop="${w}x${h}+${x}+${y}"
    fi
fi
if [ -z "$crop" ]; then
    echo "run: the window of baylith.exe is gone or has no size: no screenshot" >&2
    exit 1
fi
if ! import -window root -crop "$crop" +repage "$screenshot"; then
    echo "run: the screenshot could not be taken" >&2
    exit 1
fi
echo "$screenshot"
exit 0
