# The two commands a newcomer needs: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
ROOT       ?= device
JOBS       ?= $(shell nproc)

.PHONY: all setup build build-asan run test test-normal test-asan bench fuzz clean

all: build

setup:
	@./scripts/setup

# Configuring each time is cheap and picks up folders that appeared since.
build: setup
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

ASAN_CONFIGURE = cmake -S . -B $(ASAN_BUILD) -G Ninja -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF >/dev/null
ASAN_COMPILE   = cmake --build $(ASAN_BUILD) -j $(JOBS)

build-asan: setup
	@$(ASAN_CONFIGURE)
	$(ASAN_COMPILE)

# Only the terminal, what --init-root needs (the factory image it copies)
# and the records maker the README has a newcomer run: tests and
# benchmarks wait for `make test` and `make bench`.
run: setup
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target quillon records
	@if [ ! -d $(ROOT) ]; then $(BUILD)/bin/quillon --init-root $(ROOT); fi
	$(BUILD)/bin/quillon --root $(ROOT) --simulate-io

NORMAL_TESTS = ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
# Under the sanitizers a power-cut round costs ten times as much: ten
# rounds show the memory errors; the normal build runs the full count.
ASAN_TESTS = ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 KILLS=$${KILLS:-10} \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test-normal: build
	$(NORMAL_TESTS)

test-asan: build-asan
	$(ASAN_TESTS)

# The normal build's tests run while the sanitizer build compiles, the
# compiler at a lower priority so that the tests keep their pace; their
# output is kept in a log and shown once the compiler is done. Both builds'
# tests always run (the sanitizer build's when it compiled) and either one
# failing fails the whole.
test: build
	@$(NORMAL_TESTS) > $(BUILD)/test-normal.log 2>&1 & normal=$$!; \
	$(ASAN_CONFIGURE) && nice $(ASAN_COMPILE); asan_build=$$?; \
	wait $$normal; normal_tests=$$?; \
	echo "== tests of $(BUILD)"; cat $(BUILD)/test-normal.log; \
	asan_tests=$$asan_build; \
	if [ $$asan_build -eq 0 ]; then echo "== tests of $(ASAN_BUILD)"; $(ASAN_TESTS); asan_tests=$$?; fi; \
	[ $$normal_tests -eq 0 ] || echo "make test: the tests of $(BUILD) failed (above)" >&2; \
	[ $$asan_build -eq 0 ] || echo "make test: $(ASAN_BUILD) did not build (above)" >&2; \
	[ $$asan_tests -eq 0 ] || [ $$asan_build -ne 0 ] || echo "make test: the tests of $(ASAN_BUILD) failed (above)" >&2; \
	[ $$normal_tests -eq 0 ] && [ $$asan_tests -eq 0 ]

bench: build
	@for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done

# Each fuzz target for FUZZ_SECONDS from its corpus, in a clang build whose
# libraries are instrumented; fails on any crash.
fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DQUILLON_FUZZ=ON -DQUILLON_BENCH=OFF >/dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	FUZZ_SECONDS=$(FUZZ_SECONDS) ./scripts/fuzz $(FUZZ_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
