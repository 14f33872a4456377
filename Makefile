# Wraps the CMake presets. `make demo` runs the library's main job, `make test` the test suite.
PRESET ?= default

.PHONY: deps build demo test asan clean

deps:
	@scripts/install-deps

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

demo: build
	build/$(PRESET)/examples/make_document

test: build
	ctest --preset $(PRESET)

asan:
	$(MAKE) test PRESET=asan

clean:
	rm -rf build

# Fuzzing (fuzz/, built by clang): every target for FUZZ_SECONDS seconds.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz: deps
	scripts/run-fuzz $(FUZZ_SECONDS)
