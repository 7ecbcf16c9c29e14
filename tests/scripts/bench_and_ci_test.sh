#!/usr/bin/env bash
# `make bench`'s runner goes on past a failing benchmark and fails naming it, whichever it is, and
# passes when all pass; .ci/run builds both its builds with warnings as errors.  Usage: bench_and_ci_test.sh SOURCE_DIR
failed=0
fail() { echo "FAILED: $*" >&2; failed=1; }
top=$(mktemp -d /tmp/halvix-bench-ci-test.XXXXXX)
trap 'rm -rf "$top"' EXIT
mkdir "$top/all" "$top/good" "$top/bin"
for b in a:0 b:3 c:0; do
  printf '#!/bin/sh\necho ran >> "%s"\nexit %s\n' "$top/ran" "${b#*:}" >"$top/all/bench_${b%:*}"
  printf '#!/bin/sh\n' >"$top/good/bench_${b%:*}"
done
printf '#!/bin/sh\necho "$*" >> "%s/make.calls"\n' "$top" >"$top/bin/make"
chmod +x "$top"/all/* "$top"/good/* "$top/bin/make"
"$1/scripts/run-benchmarks" "$top/all" >/dev/null 2>"$top/err" && fail "a failing bench_b passed"
grep -q bench_b "$top/err" && ! grep -q "bench_[ac]" "$top/err" || fail "named: $(cat "$top/err")"
[ "$(wc -l <"$top/ran")" -eq 3 ] || fail "not every benchmark ran"
"$1/scripts/run-benchmarks" "$top/good" >/dev/null 2>&1 || fail "passing benchmarks failed"
PATH="$top/bin:$PATH" bash "$1/.ci/run" >/dev/null 2>&1
[ "$(cat "$top/make.calls")" = $'test WERROR=ON\nasan WERROR=ON' ] || fail ".ci/run ran make $(cat "$top/make.calls")"
exit $failed
