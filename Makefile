# Tolvane — build, test and run from a fresh Debian 12 machine.
#   make run     install what is missing, build, start the program
#   make test    the same, then every test
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# CI builds with warnings as errors.
WERROR := $(if $(CI),ON,OFF)

.PHONY: all deps configure build test run bench format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTOLVANE_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

run: build
	@$(BUILD_DIR)/stage/tolvane-cli --help

# Benchmarks build optimised in their own folder, whatever BUILD_TYPE says.
bench: deps
	@cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR)-bench -j $(JOBS) --target tolvane_bench
	@$(BUILD_DIR)-bench/tests/bench/tolvane_bench

format:
	@find src tests -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
