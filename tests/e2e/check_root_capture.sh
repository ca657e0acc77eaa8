#!/bin/bash
# Runs the driver's Screen case and, whenever it asks, captures the X root window
# with ImageMagick (`import -window root`) and checks the points it gave: the
# panels' face and caption colours inside them, the map's tile colours around them.
#   check_root_capture.sh EMULATOR DRIVER_EXE
# Exit 77 (skipped) without a display or without ImageMagick.
set -u
emulator=$1
driver=$2
if [ -z "${DISPLAY:-}" ] || ! command -v import >/dev/null || ! command -v convert >/dev/null; then
    echo "no DISPLAY or no ImageMagick: skipped"
    exit 77
fi
exchange=$(mktemp -d)
trap 'rm -rf "$exchange"' EXIT
export BAYLITH_SCREEN_DIR=$exchange

"$emulator" "$driver" --gtest_filter=Screen.RootCaptureShowsThePanelsOverTheMap >"$exchange/driver.log" 2>&1 &
driver_pid=$!

near() {  # near "r g b" r g b: every channel within 3
    local -a seen=($1)
    [ ${#seen[@]} = 3 ] &&
        [ $(( (seen[0]-$2)*(seen[0]-$2) <= 9 && (seen[1]-$3)*(seen[1]-$3) <= 9 && (seen[2]-$4)*(seen[2]-$4) <= 9 )) = 1 ]
}

check_step() {  # check_step NAME: capture, compare, write NAME.result
    local step=$1 shot="$exchange/$1.png" verdict=""
    if ! import -window root "$shot" 2>"$exchange/$step.import.log"; then
        verdict="import -window root failed: $(head -c 300 "$exchange/$step.import.log")"
    else
        local x y r g b what seen
        while read -r x y r g b what; do
            seen=$(convert "$shot" -format "%[fx:round(255*p{$x,$y}.r)] %[fx:round(255*p{$x,$y}.g)] %[fx:round(255*p{$x,$y}.b)]" info:)
            echo "$step: $what at ($x, $y): saw $seen, expected $r $g $b"
            near "$seen" "$r" "$g" "$b" || verdict="$verdict$what at ($x, $y) saw ($seen) expected ($r $g $b); "
        done <"$exchange/$step.points"
    fi
    [ -n "$verdict" ] && cp "$shot" "/tmp/baylith-root-capture-$step.png" 2>/dev/null
    printf '%s' "${verdict:-ok}" >"$exchange/$step.result"
    : >"$exchange/$step.result.done"
}

for step in query info; do
    waited=0
    while [ ! -f "$exchange/$step.points" ] && kill -0 "$driver_pid" 2>/dev/null && [ $waited -lt 900 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    [ -f "$exchange/$step.points" ] || break
    check_step "$step"
done
wait "$driver_pid"
status=$?
cat "$exchange/driver.log"
echo "driver exit status $status"
# The filter names one case: it must have run and passed, not matched nothing.
if [ $status -eq 0 ] && ! tr -d '\r' <"$exchange/driver.log" | grep -q '^\[  PASSED  \] 1 test\.$'; then
    echo "the Screen case did not run: the filter matches no test"
    status=1
fi
exit $status
