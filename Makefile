# Thin wrappers around CMake and CTest.  `make run` and `make test` do all the set-up.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
BUILD_TYPE ?= RelWithDebInfo
WERROR     ?= OFF
JOBS       ?= $(shell nproc)

# ccache is looked for when CMake is called, after `deps` has installed it: on a fresh machine the
# first build already goes through it.  Paths under the clone are hashed relative to it and the build
# folder is left out of the hash (ccache hashes it otherwise, as the builds carry debug information),
# so another build folder, or another clone in another folder, finds what an earlier build compiled.
# The settings ride in the launcher, so they hold however the build folder is built afterwards.
CCACHE_LAUNCHER = env;CCACHE_BASEDIR=$(CURDIR);CCACHE_NOHASHDIR=1;ccache
LAUNCHER = $$(command -v ccache >/dev/null 2>&1 && echo '-DCMAKE_C_COMPILER_LAUNCHER=$(CCACHE_LAUNCHER)' '-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE_LAUNCHER)')

.PHONY: deps configure build run test bench asan clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DHALVIX_WERROR=$(WERROR) $(LAUNCHER) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The program and what it reads at run time (images, samples); the tests wait for `make test`.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target halvix_program
	@scripts/run-halvix $(BUILD)/bin/halvix

# Run as root, the tests run a second time as a user who is not root (scripts/test-unprivileged), so that
# what root's rights let through cannot hide a failure of the permission checks.
test: build
	@cd $(BUILD) && xvfb-run -a -s "-screen 0 1600x1000x24" ctest --output-on-failure -j $(JOBS)
	@scripts/test-unprivileged $(BUILD) $(JOBS)

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVIX_SHARED_LIBRARY=OFF -DHALVIX_WERROR=$(WERROR) $(LAUNCHER) >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target halvix_benchmarks
	@scripts/run-benchmarks $(BENCH_BUILD)/bin

# Only what the unit tests need is built with the sanitizers.  The tests run with a runtime folder of
# their own (mktemp's 0700, made afresh and removed after), as a desktop session gives its programs one.
asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DHALVIX_SANITIZE=ON -DHALVIX_BUILD_BENCH=OFF -DHALVIX_WERROR=$(WERROR) $(LAUNCHER) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target halvix_unit_tests
	@runtime=$$(mktemp -d "$${TMPDIR:-/tmp}/halvix-asan-runtime.XXXXXX") && \
	  cd $(ASAN_BUILD) && XDG_RUNTIME_DIR=$$runtime QT_QPA_PLATFORM=offscreen ctest --output-on-failure -L unit -j $(JOBS); \
	  status=$$?; rm -rf "$$runtime"; exit $$status

# The samples and their folder are read-only, as an installed program's are: writable again first.
# build-fuzz is the fuzz scripts' build; the corpora and crash files they grow in fuzz-out/ are findings,
# not build output, and are kept.
clean:
	@for d in $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) build-fuzz; do if [ -d "$$d" ]; then chmod -R u+w "$$d"; fi; done
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) build-fuzz
