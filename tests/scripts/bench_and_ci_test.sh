#!/usr/bin/env bash
# make bench's runner runs every benchmark and names the one that failed; .ci/run builds with -Werror.
t=$(mktemp -d /tmp/halvix-bench-ci-test.XXXXXX) && trap 'rm -rf "$t"' EXIT
for b in a:0 b:3 c:0; do printf '#!/bin/sh\necho >>%s/ran\nexit %s\n' "$t" "${b#*:}" >"$t/bench_${b%:*}"; done
printf '#!/bin/sh\necho "$*" >>%s/made\n' "$t" >"$t/make"
chmod +x "$t"/*
! "$1/scripts/run-benchmarks" "$t" >/dev/null 2>"$t/err" && grep -q bench_b "$t/err" && [ "$(wc -l <"$t/ran")" = 3 ] &&
  PATH="$t:$PATH" bash "$1/.ci/run" >/dev/null && [ "$(cat "$t/made")" = $'test WERROR=ON\nasan WERROR=ON' ] ||
  { echo "FAILED: run-benchmarks said $(cat "$t/err"); .ci/run ran make $(cat "$t/made")" >&2; exit 1; }
