# The two entry points of the README; everything else is CMake (see CMakePresets.json).
# Build jobs: CMake's CMAKE_BUILD_PARALLEL_LEVEL, e.g. `CMAKE_BUILD_PARALLEL_LEVEL=2 make demo`.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
DEMO_ARGS ?=
# `make fuzz`: each fuzz target runs this long (seconds) from its corpus in fuzz/corpus.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := npy mne_tfr layout recording demo_options

.PHONY: all deps configure build demo test fuzz format clean

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

# The fuzz targets alone (preset fuzz: clang-14, libFuzzer, ASan + UBSan). New inputs go to
# build/fuzz/corpus/<target>, findings to build/fuzz/findings/<target>; the first fails the run.
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz --target fuzz_targets
	@for t in $(FUZZ_TARGETS); do \
		mkdir -p build/fuzz/corpus/$$t build/fuzz/findings/$$t; \
		echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
		build/fuzz/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=60 -rss_limit_mb=2048 \
			-print_final_stats=1 -artifact_prefix=build/fuzz/findings/$$t/ \
			build/fuzz/corpus/$$t fuzz/corpus/$$t 2>build/fuzz/fuzz-$$t.log \
			|| { tail -n 40 build/fuzz/fuzz-$$t.log; exit 1; }; \
		grep -E "^#[0-9]+ +DONE|average_exec_per_sec" build/fuzz/fuzz-$$t.log; \
	done

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	@rm -rf build
