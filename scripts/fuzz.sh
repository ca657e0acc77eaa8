#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer)
# in build/fuzz and runs each one, one after the other, from its committed corpus.
#   --short   30 s a target (part of the test run)
#   --long    10 minutes a target
# New inputs go to build/fuzz/corpus/<target>, findings to build/fuzz/findings/<target>.
# Ends with "fuzz: N passed, M failed"; exits non-zero when any target found something.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:---short}
case "$mode" in
  --short) seconds=${FUZZ_SECONDS:-30} ;;
  --long) seconds=${FUZZ_SECONDS:-600} ;;
  *) echo "usage: $0 [--short|--long]" >&2; exit 2 ;;
esac
build=$repo/build/fuzz
targets=(terms bmp info_text save_path)

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found (scripts/setup.sh installs it)"
  echo "fuzz: 0 passed, ${#targets[@]} failed"
  exit 1
fi

echo "== configure and build $build"
source "$repo/scripts/build.sh"
if ! baylith_build fuzz fuzz_targets; then
  echo "fuzz: 0 passed, ${#targets[@]} failed"
  exit 1
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
passed=0
failed=0
failed_targets=()
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  findings="$build/findings/$t"
  mkdir -p "$work" "$findings"
  log="$build/fuzz_$t.log"
  echo "== fuzz_$t: ${seconds} s"
  # The first folder collects new inputs; the committed seeds are only read.
  "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$findings/" \
      "$work" "$repo/tests/fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  grep -E '^(stat::number_of_executed_units|Done )' "$log" | tail -n 2
  if [ "$rc" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failed_targets+=("$t")
    echo "fuzz_$t: finding (exit $rc); log $log, input in $findings:"
    grep -E 'ERROR|SUMMARY|check failed|runtime error|#[0-9]+ 0x' "$log" | head -n 30
    ls -1 "$findings"
  fi
done

[ ${#failed_targets[@]} -gt 0 ] && echo "targets with findings: ${failed_targets[*]}"
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
