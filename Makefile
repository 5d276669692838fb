# Thin front door over CMake + Ninja. `make test` and `make run` are the two
# commands a newcomer needs; both install the Debian packages first.
BUILD      ?= build
FUZZ_BUILD ?= build-fuzz
SAN_BUILD  ?= build-sanitize
BUILD_TYPE ?= RelWithDebInfo
# ON compiles each target as one unit: a cold build takes half the time, but
# a one-file change rebuilds its whole target. UNITY=OFF suits a long
# edit-and-test loop.
UNITY      ?= ON
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 30
# Targets run at once by `make fuzz`, and which ones (all when empty).
FUZZ_JOBS  ?= 2
FUZZ_TARGETS ?=
SAMPLE     ?= tests/data/cube.wdo

.PHONY: all deps configure build test run package bench fuzz format clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DCMAKE_UNITY_BUILD=$(UNITY) -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The core libraries and their tests under AddressSanitizer and
# UndefinedBehaviorSanitizer (the Qt editor and its tests stay out); the
# first finding fails the run. It builds file by file, so that a file that
# compiles only after another in its unit's order is caught here.
test-sanitized: deps
	@cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWS_SANITIZE=ON \
	  -DWS_GUI=OFF -DCMAKE_UNITY_BUILD=OFF >/dev/null
	@cmake --build $(SAN_BUILD) -j $(JOBS)
	@cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

run: build
	@if [ -x $(BUILD)/src/app/wirestead ]; then \
	  $(BUILD)/src/app/wirestead $(ARGS); \
	else \
	  $(BUILD)/src/cli/wirestead-cli info $(SAMPLE) && \
	  $(BUILD)/src/cli/wirestead-cli dump $(SAMPLE); \
	fi

# A Debian package of the editor, the CLI and their files, in $(BUILD):
# sudo apt-get install ./$(BUILD)/wirestead_*.deb
package: build
	@cd $(BUILD) && cpack -G DEB

bench: deps
	@cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DWS_BENCH=ON >/dev/null
	@cmake --build $(BUILD)-bench -j $(JOBS) --target ws_benchmarks
	@for b in $(BUILD)-bench/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DWS_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target ws_fuzzers
	@bash scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) -j $(FUZZ_JOBS) $(FUZZ_TARGETS)

format:
	@find src tests tools fuzz bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(BUILD)-bench $(FUZZ_BUILD) $(SAN_BUILD)
