# Thin wrapper over the CMake presets. PRESET=release for an optimised build.
PRESET ?= debug
BUILD_DIR := build/$(PRESET)
DEMO_DIR ?= $(BUILD_DIR)/demo

.PHONY: deps configure build run test bench clean

deps:
	@tools/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	cmake --build --preset $(PRESET)

run: build
	@tools/run-demo.sh $(BUILD_DIR) $(DEMO_DIR)

test: build
	ctest --preset $(PRESET)

bench:
	@$(MAKE) --no-print-directory PRESET=release build
	@tools/run-bench.sh build/release

clean:
	rm -rf build
