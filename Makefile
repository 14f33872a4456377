# Wraps the CMake presets. `make demo` runs the library's main job, `make test` the test suite,
# `make bench` the benchmarks (writing docs/performance.md).
PRESET ?= default

.PHONY: deps build demo test asan bench docs lint clean

# The i686 preset needs the 32-bit compiler and libraries as well.
DEPS_ARGS_i686 = --i686
deps:
	@scripts/install-deps $(DEPS_ARGS_$(PRESET))

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

demo: build
	build/$(PRESET)/tools/actionhelper/actionhelper demo

test: build
	ctest --preset $(PRESET)

bench:
	@scripts/install-deps --bench
	cmake --preset default
	cmake --build --preset default --target korvath_bench korvath_bench_memory
	bench/report

asan:
	$(MAKE) test PRESET=asan

# API reference of the public headers, with the pages of docs/ (opening on the overview), into
# build/docs/html; a Doxygen warning fails it.
docs:
	@scripts/install-deps --docs
	KORVATH_VERSION=$$(sed -n 's/^project(Korvath_ActionHelper VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt) \
	  doxygen docs/Doxyfile

# clang-tidy (.clang-tidy) over the library's sources, with the default build's compile commands.
LIBRARY_DIRS = platform/orvcore|platform/orvidom|core|queryframework|queryservice|modeladmin|modeltasks
lint:
	@scripts/install-deps --lint
	cmake --preset default >/dev/null
	run-clang-tidy -quiet -j2 -p build/default '^$(CURDIR)/($(LIBRARY_DIRS))/[^/]*\.cpp$$'

clean:
	rm -rf build

# Fuzzing (fuzz/, built by clang): every target for FUZZ_SECONDS seconds.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz: deps
	scripts/run-fuzz $(FUZZ_SECONDS)
