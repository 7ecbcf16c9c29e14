#!/usr/bin/env bash
# make bench's runner runs every benchmark and names the one that failed, and `make bench` itself fails
# then, its benchmarks linked as the program is (not through the tests' shared library); .ci/run builds
# with -Werror, and stops at a failing `make test`; `make asan` runs its tests with a runtime folder of
# their own (0700, removed after) and fails with them.
t=$(mktemp -d /tmp/halvix-bench-ci-test.XXXXXX) && trap 'rm -rf "$t"' EXIT
mkdir -p "$t/bench/bin" "$t/tools"
for b in a:0 b:3 c:0; do printf '#!/bin/sh\necho >>%s/ran\nexit %s\n' "$t" "${b#*:}" >"$t/bench/bin/bench_${b%:*}"; done
# make's stand-in records what it was asked and fails a test run when told to; cmake's records its
# arguments.
printf '#!/bin/sh\necho "$*" >>%s/made\n[ "$1 $FAIL_TEST" != "test 1" ]\n' "$t" >"$t/make"
printf '#!/bin/sh\necho "$*" >>%s/cmake\n' "$t" >"$t/tools/cmake"
printf '#!/bin/sh\nstat -c "%%a %%U" "$XDG_RUNTIME_DIR" >%s/runtime\necho "$XDG_RUNTIME_DIR" >>%s/runtime\nexit $CTEST_STATUS\n' "$t" "$t" >"$t/tools/ctest"
chmod +x "$t"/make "$t"/tools/* "$t"/bench/bin/*
! "$1/scripts/run-benchmarks" "$t/bench/bin" >/dev/null 2>"$t/err" && grep -q bench_b "$t/err" && [ "$(wc -l <"$t/ran")" = 3 ] &&
  PATH="$t:$PATH" bash "$1/.ci/run" >/dev/null && [ "$(cat "$t/made")" = $'test WERROR=ON\nasan WERROR=ON' ] ||
  { echo "FAILED: run-benchmarks said $(cat "$t/err"); .ci/run ran make $(cat "$t/made")" >&2; exit 1; }
rm "$t/made"
! FAIL_TEST=1 PATH="$t:$PATH" bash "$1/.ci/run" >/dev/null 2>&1 && [ "$(cat "$t/made")" = 'test WERROR=ON' ] ||
  { echo "FAILED: with make test failing, .ci/run ran make $(cat "$t/made") and ended with success or went on" >&2; exit 1; }
# The make target, its set-up left out (-o deps) and the build's cmake a stand-in: the runner's failure is its.
! env -u MAKEFLAGS -u MAKELEVEL -u MFLAGS PATH="$t/tools:$PATH" make -s -C "$1" -o deps bench BENCH_BUILD="$t/bench" >/dev/null 2>&1 ||
  { echo "FAILED: make bench ended with success while a benchmark failed" >&2; exit 1; }
grep -q -- "-B $t/bench .*-DHALVIX_SHARED_LIBRARY=OFF" "$t/cmake" ||
  { echo "FAILED: make bench configured its build with: $(head -1 "$t/cmake")" >&2; exit 1; }
mkdir "$t/asan"
for status in 0 8; do
  env -u MAKEFLAGS -u MAKELEVEL -u MFLAGS CTEST_STATUS=$status XDG_RUNTIME_DIR=$t PATH="$t/tools:$PATH" \
    make -s -C "$1" -o deps asan ASAN_BUILD="$t/asan" >/dev/null 2>&1
  [ $(($? != 0)) = $((status != 0)) ] && [ "$(head -1 "$t/runtime")" = "700 $(id -un)" ] &&
    [ "$(tail -1 "$t/runtime")" != "$t" ] && [ ! -e "$(tail -1 "$t/runtime")" ] ||
    { echo "FAILED: make asan with its tests ending $status: runtime folder $(cat "$t/runtime" | tr '\n' ' ')" >&2; exit 1; }
done
