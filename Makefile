# make run   — install what is missing, build, start an emulated board and the program
# make test  — install what is missing, build, run every test
# make bench — build and run the benchmarks
# make package — build the Debian package into build/package/

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build build-asan test test-asan run bench package format clean

all: build

deps:
	./scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)

test: build
	ctest --preset default -j $(JOBS) --timeout 300

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --preset asan -j $(JOBS) --timeout 600

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
