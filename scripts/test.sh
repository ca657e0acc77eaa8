#!/usr/bin/env bash
# Sets up, builds every build and runs every test: the native suites (plain and
# under AddressSanitizer + UndefinedBehaviorSanitizer), short fuzzing runs, and,
# under Debian 12's Wine 8 and under Wine 10 in a Debian 13 root that
# scripts/wine10-root.sh makes, the end-to-end tests of baylith.exe and a
# six-minute soak of three seeds. Every step is required: a build that fails fails its tests'
# step too, and the run. Ends with one line of totals.
#   bash scripts/test.sh [STEP...]   only the named steps: layers native sanitize fuzz
#                                    e2e-wine8 soak-wine8 e2e-wine10 soak-wine10
# The run fails (exit 1) when any step fails or any case failed, was skipped or did
# not run: the totals line and the exit status say the same.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
jobs=$(nproc 2>/dev/null || echo 2)
total_passed=0
total_failed=0
failed_steps=()
failed_cases=()
broken_builds=()

all_steps=(layers native sanitize fuzz e2e-wine8 soak-wine8 e2e-wine10 soak-wine10)
chosen=("$@")
for step in "${chosen[@]+"${chosen[@]}"}"; do
    case " ${all_steps[*]} " in
        *" $step "*) ;;
        *) echo "test: unknown step '$step' (${all_steps[*]})" >&2; exit 2 ;;
    esac
done
[ ${#chosen[@]} -eq 0 ] && chosen=("${all_steps[@]}")
wanted() {  # wanted STEP...: any of them chosen
    local step want
    for want in "$@"; do
        for step in "${chosen[@]}"; do [ "$step" = "$want" ] && return 0; done
    done
    return 1
}

bash scripts/setup.sh || { echo "setup failed"; exit 1; }
source scripts/build.sh

# count_log NAME LOG: adds the counts of the log's summary line (ctest's, or a plain
# "word: N passed, M failed") to the totals; 1 when the log has none. Failed ctest
# cases are kept with the step's name, so that a failure names its Wine.
count_log() {
    local name=$1 log=$2 line plain
    line=$(tr -d '\r' <"$log" | grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' | tail -n 1)
    plain=$(tr -d '\r' <"$log" | grep -E '^[a-z0-9-]+: [0-9]+ passed, [0-9]+ failed$' | tail -n 1)
    if [ -n "$line" ]; then
        local failed total
        failed=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
        total=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
        total_passed=$((total_passed + total - failed))
        total_failed=$((total_failed + failed))
        local case
        while read -r case; do
            [ -n "$case" ] && failed_cases+=("$name: $case")
        done < <(tr -d '\r' <"$log" | sed -n '/The following tests FAILED:/,$p' |
                 sed -nE 's/^[[:space:]]*[0-9]+ - ([^ ]+) .*/\1/p')
        # A case that did not run (skipped, or missing) has not passed: it fails
        # the step as well as the totals.
        local skipped
        skipped=$(tr -d '\r' <"$log" | sed -n '/The following tests did not run:/,/^$/p' |
                  grep -cE '^[[:space:]]*[0-9]+ - ')
        if [ "$skipped" -gt 0 ]; then
            total_failed=$((total_failed + skipped))
            total_passed=$((total_passed - skipped))
            failed_cases+=("$name: $skipped cases did not run")
            return 2
        fi
        return 0
    fi
    if [ -n "$plain" ]; then
        total_passed=$((total_passed + $(sed -E 's/^[^:]+: ([0-9]+) passed.*/\1/' <<<"$plain")))
        total_failed=$((total_failed + $(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$plain")))
        return 0
    fi
    return 1
}

# run_step NAME COMMAND...: runs a step with its output in build/logs/NAME.log.
run_step() {
    local name=$1; shift
    local log="build/logs/$name.log"
    echo "== $name"
    "$@" 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    local counted=0 counts=0
    count_log "$name" "$log" || counts=$?
    [ $counts -ne 1 ] && counted=1
    [ $counts -eq 2 ] && [ "$rc" -eq 0 ] && rc=1
    if [ "$rc" -ne 0 ]; then
        failed_steps+=("$name")
        [ $counted -eq 0 ] && total_failed=$((total_failed + 1))
    fi
    return "$rc"
}

# tests_step NAME BUILD COMMAND...: the step runs only when its build succeeded;
# otherwise it counts as failed, so stale binaries are never tested.
tests_step() {
    local name=$1 build=$2; shift 2
    local broken
    for broken in "${broken_builds[@]+"${broken_builds[@]}"}"; do
        if [ "$broken" = "$build" ]; then
            echo "== $name: not run, the $build build failed"
            failed_steps+=("$name")
            total_failed=$((total_failed + 1))
            return 1
        fi
    done
    run_step "$name" "$@"
}

build_step() {
    run_step "$1-build" baylith_build "$1" || broken_builds+=("$1")
}

mkdir -p build/logs
# No suite may come out empty: a filter or a missing suite that runs nothing fails.
ctest_run() { ctest --no-tests=error --output-on-failure "$@"; }

wanted layers && run_step layers bash scripts/check-layers.sh

if wanted native; then
    build_step native
    tests_step native-tests native ctest_run --test-dir build/native -j"$jobs"
fi

if wanted sanitize; then
    build_step sanitize
    ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$repo/tests/support/lsan.supp" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      tests_step sanitize-tests sanitize ctest_run --test-dir build/sanitize -j"$jobs"
fi

wanted fuzz && run_step fuzz bash scripts/fuzz.sh --short

if wanted e2e-wine8 soak-wine8 e2e-wine10 soak-wine10; then
    build_step win
fi
# The soak replays known seeds here, so that the result of the test command
# does not depend on the draw (make soak draws a new one each time): a plain
# minute, then two seeds that once showed growth, a lost click after Reset Query
# and lost city-list choices under Wine 10, each for as long as that took.
soak_seeds="${SOAK_SEEDS:-0x0000011c4ca515a2:60 0x707e2a6cd3e98bb4:150 0xaf7f160566392360:150}"
export BAYLITH_PREBUILT=1
wanted e2e-wine8 && tests_step e2e-wine8 win bash scripts/run-e2e.sh build/win
wanted soak-wine8 && SOAK_SEEDS=$soak_seeds tests_step soak-wine8 win bash scripts/soak.sh

if wanted e2e-wine10 soak-wine10; then
    if run_step wine10-root bash scripts/wine10-root.sh make; then
        wanted e2e-wine10 &&
            tests_step e2e-wine10 win bash scripts/wine10-root.sh run bash scripts/run-e2e.sh build/win
        wanted soak-wine10 &&
            SOAK_SEEDS=$soak_seeds tests_step soak-wine10 win bash scripts/wine10-root.sh run bash scripts/soak.sh
    else
        echo "The Debian 13 root with Wine 10 could not be made (log: build/debian13.*.log):"
        echo "the Wine 10 end-to-end tests and soak did not run."
        failed_steps+=(e2e-wine10 soak-wine10)
        total_failed=$((total_failed + 2))
    fi
fi

echo
if [ ${#failed_steps[@]} -gt 0 ]; then
    echo "failed steps: ${failed_steps[*]}"
fi
for case in "${failed_cases[@]+"${failed_cases[@]}"}"; do
    echo "failed: $case"
done
echo "total: $total_passed passed, $total_failed failed"
[ ${#failed_steps[@]} -eq 0 ] && [ "$total_failed" -eq 0 ]
