#!/usr/bin/env bash
# `make bench`'s runner (scripts/run-benchmarks) runs every benchmark program whatever one of them does
# and fails, naming each that failed, when any fails (not only the last); and the CI entry point
# (.ci/run) builds both the main build and the sanitizer build with warnings as errors.
# Usage: bench_and_ci_test.sh SOURCE_DIR
set -uo pipefail
source_dir=${1:?usage: bench_and_ci_test.sh SOURCE_DIR}

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

top=$(mktemp -d /tmp/halvix-bench-ci-test.XXXXXX)
trap 'rm -rf "$top"' EXIT

# Benchmark programs that note that they ran and end with the status given.
bench_program() { # FOLDER NAME STATUS
  printf '#!/bin/sh\necho ran >> "%s/%s.ran"\nexit %s\n' "$1" "$2" "$3" > "$1/$2"
  chmod +x "$1/$2"
}

# A failing program that is not the last: the run goes on to the others and fails, naming it.
mixed=$top/mixed
mkdir "$mixed"
bench_program "$mixed" bench_a 0
bench_program "$mixed" bench_b 3
bench_program "$mixed" bench_c 0
"$source_dir/scripts/run-benchmarks" "$mixed" >"$top/mixed.out" 2>"$top/mixed.err"
status=$?
[ "$status" -ne 0 ] || fail "a failing benchmark other than the last left the run at exit status 0"
grep -q "bench_b" "$top/mixed.err" || fail "the failing benchmark is not named: $(cat "$top/mixed.err")"
if grep -q "bench_a\|bench_c" "$top/mixed.err"; then fail "a benchmark that passed is named as failed"; fi
for b in bench_a bench_b bench_c; do
  [ -f "$mixed/$b.ran" ] || fail "$b did not run"
done

# Two failing: both named.
two=$top/two
mkdir "$two"
bench_program "$two" bench_a 1
bench_program "$two" bench_b 0
bench_program "$two" bench_c 2
"$source_dir/scripts/run-benchmarks" "$two" >/dev/null 2>"$top/two.err" && fail "two failing benchmarks passed"
grep -q "bench_a" "$top/two.err" && grep -q "bench_c" "$top/two.err" ||
  fail "not every failing benchmark is named: $(cat "$top/two.err")"

# Every one passing: the run passes.
good=$top/good
mkdir "$good"
bench_program "$good" bench_a 0
bench_program "$good" bench_b 0
"$source_dir/scripts/run-benchmarks" "$good" >/dev/null 2>"$top/good.err" ||
  fail "benchmarks that all passed failed the run: $(cat "$top/good.err")"

# No benchmark at all (a build that made none) is no pass.
mkdir "$top/none"
"$source_dir/scripts/run-benchmarks" "$top/none" >/dev/null 2>&1 && fail "a folder without benchmarks passed"

# The CI entry point, with `make` replaced by one that notes how it was called.
mkdir "$top/bin"
printf '#!/bin/sh\necho "$*" >> "%s/make.calls"\n' "$top" > "$top/bin/make"
chmod +x "$top/bin/make"
PATH="$top/bin:$PATH" bash "$source_dir/.ci/run" >/dev/null 2>&1 || fail ".ci/run failed with make stubbed"
grep -qx "test WERROR=ON" "$top/make.calls" || fail ".ci/run's test build is not made with warnings as errors"
grep -qx "asan WERROR=ON" "$top/make.calls" || fail ".ci/run's sanitizer build is not made with warnings as errors"
[ "$(wc -l < "$top/make.calls")" -eq 2 ] || fail ".ci/run called make otherwise: $(cat "$top/make.calls")"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "passed"
