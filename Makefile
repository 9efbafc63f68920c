# Tolvane — build, test and run from a fresh Debian 12 machine.
#   make run     install what is missing, build, start the launcher (it starts the editor)
#   make run-editor  the same, but start the editor itself
#   make screenshots  the editor's main window on every page as PNG files
#   make test    the same, then every test
#   make package      the Debian package, build/tolvane_<version>_<arch>.deb
#   make test-package the package unpacked into a scratch root and tried out from there
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# CI builds with warnings as errors.
WERROR := $(if $(CI),ON,OFF)

.PHONY: all deps configure build test test-sanitize run run-editor run-example screenshots docs-screenshots package \
	test-package bench fuzz format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTOLVANE_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Starts the launcher from the stage folder; it starts the editor of the version folder beside it.
run: build
	@$(BUILD_DIR)/stage/TolvaneManager

# Starts the editor from its version folder, beside its Language/, Data/ and print/ folders.
run-editor: build
	@$(BUILD_DIR)/stage/1.41/Tolvane

# The editor on the example tower the build makes (build/examples/parish.tpm).
run-example: build
	@$(BUILD_DIR)/stage/1.41/Tolvane $(abspath $(BUILD_DIR))/examples/parish.tpm

# The main window on every page as PNG files in $(BUILD_DIR)/screenshots (offscreen; no display needed).
screenshots: build
	@mkdir -p $(BUILD_DIR)/screenshots
	@TOLVANE_SCREENSHOT_DIR=$(abspath $(BUILD_DIR))/screenshots QT_QPA_PLATFORM=offscreen \
		$(BUILD_DIR)/tests/gui_tests --gtest_filter='Screenshots.*'
	@echo "screenshots in $(BUILD_DIR)/screenshots"

# The README's pictures: the example tower's shots (76-79) made again and copied into docs/screenshots. Run it after
# a change to a page they show, and commit the PNG files.
docs-screenshots: build
	@mkdir -p $(BUILD_DIR)/screenshots docs/screenshots
	@TOLVANE_SCREENSHOT_DIR=$(abspath $(BUILD_DIR))/screenshots QT_QPA_PLATFORM=offscreen \
		$(BUILD_DIR)/tests/gui_tests --gtest_filter='Screenshots.ExampleTower'
	@cp $(BUILD_DIR)/screenshots/76-example-weekly.png $(BUILD_DIR)/screenshots/77-example-sequences.png \
		$(BUILD_DIR)/screenshots/78-example-report.png $(BUILD_DIR)/screenshots/79-launcher.png docs/screenshots/
	@echo "docs/screenshots updated"

# The Debian package (CPack) in the build folder: the programs under /usr/lib/tolvane, links in /usr/bin, desktop
# entries, the project file type, icons, manual pages, bash completion and the example tower.
package: build
	@rm -f $(BUILD_DIR)/tolvane_*.deb
	@cmake --build $(BUILD_DIR) --target package

# The package unpacked into a temporary root and used from there: scripts/test-package says what it checks.
test-package: package
	@scripts/test-package $(BUILD_DIR)

# Benchmarks build optimised in their own folder, whatever BUILD_TYPE says.
bench: deps
	@cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR)-bench -j $(JOBS) --target tolvane_bench
	@$(BUILD_DIR)-bench/tests/bench/tolvane_bench

# The whole suite built with the address and undefined-behaviour sanitizers in its own folder; the first report
# stops the test that made it. Benchmarks and fuzz targets are not built here. Warnings are not errors here:
# GCC's flow-based warnings give false alarms on instrumented code, and `make test` already builds with -Werror.
test-sanitize: deps
	@cmake -S . -B $(BUILD_DIR)-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON -DTOLVANE_WERROR=OFF >/dev/null
	@cmake --build $(BUILD_DIR)-sanitize -j $(JOBS)
	@cd $(BUILD_DIR)-sanitize && ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

# libFuzzer targets (clang 14, sanitizers) in their own folder, each run for FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang-14 CXX=clang++-14 cmake -S . -B $(BUILD_DIR)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_FUZZ=ON >/dev/null
	@cmake --build $(BUILD_DIR)-fuzz -j $(JOBS) --target fuzz_targets
	@scripts/run-fuzz $(BUILD_DIR)-fuzz $(FUZZ_SECONDS)

format:
	@find src tests -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
