# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build test test-sanitize test-faults fuzz-smoke bench run package clean

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite once more with AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
test-sanitize: setup
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DPX510_BUILD_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:suppressions=$(CURDIR)/tests/sanitize/asan.supp \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# Faults injected by px510sim: the table of line faults with 20 downloads a
# row, a lossy line, a vanishing tester, error replies (about ten minutes;
# `make test` runs the table with two downloads a row and leaves out the
# lossy line).
test-faults: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen PX510_FAULT_RUNS=20 ./tests/fault_tests

# Every fuzz target for 60 s (needs clang).
fuzz-smoke: setup
	@bash scripts/fuzz-smoke.sh

# Every program under bench/, with one table of figures and targets.
bench: configure
	@bash scripts/bench.sh $(BUILD)

run: build
	@bash scripts/run.sh $(BUILD)

# The Debian package, in $(BUILD)/package.
package: build
	@cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD)
