#!/usr/bin/env bash
# make bench's runner runs every benchmark, fails naming the one that failed and passes when all pass;
# .ci/run builds both its builds with warnings as errors.  Usage: bench_and_ci_test.sh SOURCE_DIR
t=$(mktemp -d /tmp/halvix-bench-ci-test.XXXXXX)
trap 'rm -rf "$t"' EXIT
for b in a:0 b:3 c:0; do printf '#!/bin/sh\necho >>%s/ran\nexit %s\n' "$t" "${b#*:}" >"$t/bench_${b%:*}"; done
printf '#!/bin/sh\necho "$*" >>%s/made\n' "$t" >"$t/make"
chmod +x "$t"/bench_* "$t/make"
! "$1/scripts/run-benchmarks" "$t" >/dev/null 2>"$t/err" &&
  grep -q bench_b "$t/err" && ! grep -q "bench_[ac]" "$t/err" && [ "$(wc -l <"$t/ran")" = 3 ] &&
  rm "$t/bench_b" && "$1/scripts/run-benchmarks" "$t" >/dev/null 2>&1 &&
  PATH="$t:$PATH" bash "$1/.ci/run" >/dev/null 2>&1 &&
  [ "$(cat "$t/made")" = $'test WERROR=ON\nasan WERROR=ON' ] || {
  echo "FAILED; run-benchmarks said: $(cat "$t/err"); .ci/run ran make $(cat "$t/made" 2>/dev/null)" >&2
  exit 1
}
