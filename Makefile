# make run   — install what is missing, build, start an emulated board and the program
# make test  — install what is missing, build, run every test
# make bench — build and run the benchmarks
# make package — build the Debian package into build/package/

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Under CI=true warnings are errors (the ci presets); a developer's build only shows them.
PRESET := $(if $(filter true,$(CI)),ci,default)
ASAN_PRESET := $(if $(filter true,$(CI)),asan-ci,asan)

.PHONY: all deps configure build build-asan test test-asan lint run bench package format clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

build-asan: deps
	cmake --preset $(ASAN_PRESET)
	cmake --build --preset $(ASAN_PRESET) -j $(JOBS)

test: build
	ctest --preset $(PRESET) -j $(JOBS) --timeout 300

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --preset $(ASAN_PRESET) -j $(JOBS) --timeout 600

# clang-tidy and clang-format on the C++ files changed since origin/main (all of them when
# that cannot be told); needs the compile commands of a configured build.
lint: configure
	./scripts/lint build

run: build
	./scripts/run-emulated build

bench: build
	./scripts/run-benchmarks build

package: build
	cd build && cpack

format:
	find board sim core gui cli tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan
