# The two entry points of the README; everything else is CMake (see CMakePresets.json).
# Build jobs: CMake's CMAKE_BUILD_PARALLEL_LEVEL, e.g. `CMAKE_BUILD_PARALLEL_LEVEL=2 make demo`.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
DEMO_ARGS ?=

.PHONY: all deps configure build demo test format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

# Only what the demo needs: its libraries and the program, no tests or benchmarks.
demo: configure
	@cmake --build --preset $(PRESET) --target velmora-app
	@$(BUILD_DIR)/apps/velmora/velmora $(DEMO_ARGS)

test: build
	@ctest --preset $(PRESET)

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	@rm -rf build
