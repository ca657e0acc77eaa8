#!/usr/bin/env bash
# The include rule between the layers: win32/ -> gl/ -> core/, never back.
#   core/  includes nothing of gl/ or win32/, no <windows.h>, no GL header
#   gl/    includes nothing of win32/ and no <windows.h>, except gl/gl_api.h, which
#          wraps <windows.h> for <GL/gl.h> on Windows
# Prints every include that breaks it and exits 1; exits 0 when there is none.
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo" || exit 2
broken=0
report() {
    local found
    found=$(grep -rnE --include='*.h' --include='*.cpp' --include='*.c' "$2" "$1" | grep -v "${3:-^$}")
    if [ -n "$found" ]; then
        echo "check-layers: $1/ includes what it must not:" >&2
        echo "$found" >&2
        broken=1
    fi
}
report core '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](gl/|win32/|windows\.h|GL/|EGL/|wingdi\.h)'
report gl '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](win32/|windows\.h)' '^gl/gl_api\.h:'
if [ "$broken" = 0 ]; then echo "check-layers: core <- gl <- win32, no include against the rule"; fi
exit "$broken"
