# The README's commands:
#   make demo    builds quill and runs it on the demo corpus (data/brown)
#   make check   sets up, builds and runs every test, then again under ASan+UBSan,
#                then the jobs' tests (several threads) under ThreadSanitizer,
#                then runs every fuzz target briefly (when clang is installed)
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
CMAKE_GEN  ?= -G Ninja
CTEST_ARGS ?= --output-on-failure -j$(JOBS) --timeout 600

FUZZ_SECONDS ?= 30

.PHONY: all setup configure build test asan tsan check demo bench fuzz fuzz-smoke fuzz-long clean

all: build

setup:
	scripts/setup

configure:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	ctest --test-dir $(BUILD) $(CTEST_ARGS)

# The whole suite with AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQUILL_SANITIZE=ON -DQUILL_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) $(CTEST_ARGS)

# The jobs' tests (the jobs search on several threads) with ThreadSanitizer.
tsan:
	cmake -S . -B $(TSAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_TSAN=ON -DQUILL_BUILD_BENCH=OFF
	cmake --build $(TSAN_BUILD) -j$(JOBS) --target quilljobs_tests
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(TSAN_BUILD)/tests/quilljobs_tests

check: setup
	$(MAKE) test
	$(MAKE) asan
	$(MAKE) tsan
	@if command -v clang++ >/dev/null 2>&1; then $(MAKE) fuzz-smoke; \
	 else echo "make check: clang++ not found, fuzz targets not run"; fi

demo: setup build
	scripts/demo $(BUILD)

# Release build of the benchmarks; see bench/README.md.
bench:
	cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQUILL_BUILD_TESTS=OFF
	cmake --build build-bench -j$(JOBS)

# libFuzzer targets (clang), all linked against one instrumented build of the
# libraries; see tests/fuzz/README.md.
fuzz:
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DQUILL_BUILD_FUZZ=ON -DQUILL_BUILD_TESTS=OFF -DQUILL_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_all

# Each target for FUZZ_SECONDS from its seed corpus; fails on any finding.
fuzz-smoke: fuzz
	scripts/fuzz_smoke $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The long run (an hour per target), outside CI; FUZZ_ONLY="fuzz_a ..." runs a
# subset. Record results in tests/fuzz/README.md.
fuzz-long: fuzz
	scripts/fuzz_smoke $(FUZZ_BUILD) 3600

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(TSAN_BUILD) build-bench
