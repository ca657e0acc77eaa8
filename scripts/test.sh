#!/usr/bin/env bash
# Runs the test steps, each a ctest preset over its build (CMakePresets.json),
# and ends with one line of totals:
#   layers       the include rule between the layers (scripts/check-layers.sh)
#   native       the native suites                      ctest --preset native
#   sanitize     the same under ASan + UBSan            ctest --preset sanitize
#   fuzz         each fuzzer's corpus, then 30 s each   ctest --preset fuzz
#   e2e-wine8    the Win32 suites and the end-to-end cases under Wine 8
#   soak-wine8   the soak's known seeds under Wine 8
#   e2e-wine10, soak-wine10   the same under Wine 10 (the Debian 13 root)
#   bash scripts/test.sh [STEP...]     (default: every step; make check: the first
#                                       four but fuzz)
# A step fails when its build, its Wine or any case fails; ctest fails a case that
# skips itself or names no case, and a suite that finds no case. Exits 1 when any
# step failed.
set -uo pipefail
cd "$(dirname "$0")/.."
all_steps=(layers native sanitize fuzz e2e-wine8 soak-wine8 e2e-wine10 soak-wine10)
steps=("$@")
[ $# -eq 0 ] && steps=("${all_steps[@]}")
for step in "${steps[@]}"; do
    case " ${all_steps[*]} " in
        *" $step "*) ;;
        *) echo "test: unknown step '$step' (${all_steps[*]})" >&2; exit 2 ;;
    esac
done
bash scripts/setup.sh || { echo "setup failed"; exit 1; }
source scripts/build.sh
mkdir -p build/logs

# build KIND [TARGET...]: each build once a run, with its output in the step's log.
built=" "
build() {
    local key=${*// /+}
    case "$built" in
        *" $key:ok "*) return 0 ;;
        *" $key:failed "*) echo "the $1 build failed earlier"; return 1 ;;
    esac
    if baylith_build "$@"; then built+="$key:ok "; else built+="$key:failed "; return 1; fi
}

passed=0 failed=0 failed_steps=() failed_cases=()
# step NAME COMMAND...: adds the step's counts from ctest's closing line; a step
# with no such line counts as one case. A step that fails, or where ctest lists a
# case that did not run, counts at least one failure.
step() {
    local name=$1; shift
    local log="build/logs/$name.log"
    echo "== $name"
    "$@" 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]} total=1 bad=0 counts case
    counts=$(tr -d '\r' <"$log" | sed -nE 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+)$/\1 \2/p' | tail -n 1)
    [ -n "$counts" ] && read -r bad total <<<"$counts"
    grep -q '^The following tests did not run:' "$log" && status=1
    [ "$status" != 0 ] && [ "$bad" = 0 ] && bad=1
    [ "$total" -lt "$bad" ] && total=$bad
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    if [ "$status" != 0 ]; then
        failed_steps+=("$name")
        while read -r case; do failed_cases+=("$name: $case"); done < <(tr -d '\r' <"$log" |
            sed -n '/^The following tests \(FAILED\|did not run\):/,$p' | sed -nE 's/^\s+[0-9]+ - (\S+) .*/\1/p')
    fi
}

for step in "${all_steps[@]}"; do
    case " ${steps[*]} " in *" $step "*) ;; *) continue ;; esac
    case "$step" in
        layers) step layers bash scripts/check-layers.sh ;;
        native|sanitize|fuzz) step "$step" eval "build $step && ctest --preset $step" ;;
        e2e-wine*) step "$step" eval "build win && bash scripts/wine.sh ${step#e2e-wine} ctest --preset e2e" ;;
        soak-wine*) step "$step" eval "build native sample_data && build win &&
                                      bash scripts/wine.sh ${step#soak-wine} ctest --preset soak" ;;
    esac
done

echo
[ ${#failed_steps[@]} -gt 0 ] && echo "failed steps: ${failed_steps[*]}"
for case in "${failed_cases[@]+"${failed_cases[@]}"}"; do echo "failed: $case"; done
echo "total: $passed passed, $failed failed"
[ ${#failed_steps[@]} -eq 0 ]
