# Set-up and everyday commands. Each target installs what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
RELEASE_BUILD ?= build-release
JOBS       ?= $(shell nproc)
# The sanitizer build uses clang when it is installed (its sanitizers and
# libFuzzer come with it; the fuzz targets need it), else g++:
# `make asan ASAN_CXX=g++` chooses g++.
ASAN_CXX   ?= $(if $(shell command -v clang++),clang++,g++)
# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 60
# Seconds one fuzz input may take (wall clock) before it counts as a hang.
FUZZ_TIMEOUT ?= 10
# What `make bench` passes to every benchmark program: medians of nine runs of
# about a tenth of a second each, the runs of a program's benchmarks shuffled
# together, so that a benchmark and its reference meet the same moments of a
# busy machine (`make bench BENCH_ARGS=` runs each once).
BENCH_ARGS ?= --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true --benchmark_min_time=0.1 \
              --benchmark_report_aggregates_only=true
# ccache speeds up rebuilds when it is installed; nothing needs it.
LAUNCHER   := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache,)
# The project's own builds treat warnings as errors; the package's default does not.
OWN        := -DQZ_WERROR=ON $(LAUNCHER)

.PHONY: all bootstrap configure build test asan asan-configure fuzz release bench format clean demo design \
        docs images package

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(OWN) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The demo: builds only what it needs, runs the scripted tour on the headless
# screen and leaves the pictures and the transcript in $(DEMO_OUT).
DEMO_OUT ?= out/demo
demo: configure
	@cmake --build $(BUILD) -j $(JOBS) --target qzdemo
	@$(BUILD)/qzdemo --out $(DEMO_OUT) --form apps/qzdemo/MainForm.dfm
	@echo "Open $(DEMO_OUT)/transcript.txt and the pictures $(DEMO_OUT)/01-start.png ... beside it."

# The designer: builds the designer host and the package module, runs the designer's scripted
# tour on the headless screen and leaves the pictures and the transcript in $(DESIGN_OUT).
DESIGN_OUT ?= out/design
design: configure
	@cmake --build $(BUILD) -j $(JOBS) --target qzdesign QzComponents5_module
	@$(BUILD)/qzdesign --tour --out $(DESIGN_OUT)
	@echo "Open $(DESIGN_OUT)/transcript.txt and the pictures $(DESIGN_OUT)/01-palette.png ... beside it."

# The API reference (Doxygen over the public headers, by layer, with class diagrams) in
# $(BUILD)/docs/html; any Doxygen warning fails it.
docs: configure
	@cmake --build $(BUILD) --target docs
	@echo "Open $(BUILD)/docs/html/index.html"

# The pictures of the README and the guide (docs/images/), taken again from the tours.
images: configure
	@cmake --build $(BUILD) -j $(JOBS) --target qzdemo qzdesign QzComponents5_module
	@scripts/readme-images $(BUILD)

# The Debian packages (run time, development files, tools) in $(BUILD)/packages, checked by
# lintian: any error fails.
package: build
	@rm -f $(BUILD)/packages/*.deb
	@cd $(BUILD) && cpack --config CPackConfig.cmake
	@lintian --fail-on error --tag-display-limit 0 $(BUILD)/packages/*.deb

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Debug information with light optimisation: readable reports, tolerable speed.
asan-configure: bootstrap
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=$(ASAN_CXX) -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DQZ_SANITIZE=ON -DQZ_BENCH=OFF $(OWN) >/dev/null

asan: asan-configure
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# Runs every fuzz target for FUZZ_SECONDS on its own copy of the seed corpus
# (in $(ASAN_BUILD)/fuzz-corpus); findings are left as crash-* files there.
fuzz: ASAN_CXX = clang++
fuzz: asan-configure
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target fuzz_targets
	@FUZZ_TIMEOUT=$(FUZZ_TIMEOUT) scripts/fuzz $(ASAN_BUILD) $(FUZZ_SECONDS)

# The optimised build (-O3) with the same warnings as errors, and its tests.
release: bootstrap
	@cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(OWN) >/dev/null
	@cmake --build $(RELEASE_BUILD) -j $(JOBS)
	@cd $(RELEASE_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/bench $(BUILD) $(BENCH_ARGS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD)
