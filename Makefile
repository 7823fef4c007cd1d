# Thin wrapper over the CMake presets. PRESET=release for an optimised build.
PRESET ?= debug
BUILD_DIR := build/$(PRESET)
DEMO_DIR ?= $(BUILD_DIR)/demo

.PHONY: deps configure build run test bench package clean

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

# The Debian package from a release build of the programs alone (build/package), compiled with
# Debian's hardening flags; make test checks the package built from the test build's objects.
package: deps
	@cmake --preset package \
	  -DCMAKE_C_FLAGS="$$(dpkg-buildflags --get CFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	cmake --build --preset package --target package

clean:
	rm -rf build
