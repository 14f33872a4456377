# Wraps the CMake presets. `make demo` runs the library's main job, `make test` the test suite,
# `make bench` the benchmarks (writing docs/performance.md).
PRESET ?= default

.PHONY: deps build demo test asan bench clean

deps:
	@scripts/install-deps

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

demo: build
	build/$(PRESET)/examples/make_document

test: build
	ctest --preset $(PRESET)

bench: deps
	cmake --preset default
	cmake --build --preset default --target korvath_bench korvath_bench_memory
	bench/report

asan:
	$(MAKE) test PRESET=asan

clean:
	rm -rf build
