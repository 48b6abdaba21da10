# The two entry points of the README; everything else is CMake (see CMakePresets.json).
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

demo: build
	@$(BUILD_DIR)/apps/velmora-demo/velmora-demo $(DEMO_ARGS)

test: build
	@ctest --preset $(PRESET)

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	@rm -rf build
