# Wraps the CMake presets; each target first installs the Debian packages it needs, and no more.
# `make demo` builds the library and the tool and runs the tool's demo, `make test` builds
# everything and runs the test suite, `make bench` the benchmarks (writing docs/performance.md),
# `make docs` the API reference and the pictures. PRESET picks the build for demo and test, e.g.
# `make test PRESET=mingw-i686` for the Windows DLL's tests under Wine.
PRESET ?= default

.PHONY: demo test asan bench docs lint clean fuzz deb

# What the presets' builds need beyond the library's own packages.
DEPS_i686 = --i686
DEPS_mingw-i686 = --windows
DEPS_fuzz = --fuzz

demo:
	@scripts/install-deps $(DEPS_$(PRESET))
	cmake --preset $(PRESET) -DKORVATH_BUILD_TESTS=OFF
	cmake --build --preset $(PRESET) --target actionhelper
	build/$(PRESET)/tools/actionhelper/actionhelper demo

test:
	@scripts/install-deps --test $(DEPS_$(PRESET))
	cmake --preset $(PRESET) -DKORVATH_BUILD_TESTS=ON
	cmake --build --preset $(PRESET)
	ctest --preset $(PRESET)

bench:
	@scripts/install-deps --bench
	cmake --preset bench
	cmake --build --preset bench --target korvath_bench actionhelper korvath_actionhelper
	bench/report

asan:
	$(MAKE) test PRESET=asan

# API reference of the public headers, with the pages of docs/ (opening on the overview), into
# build/docs/html; the pictures of docs/*.dot are drawn into docs/ first. A Doxygen warning fails
# it. `cmake --install` installs the reference when it has been built.
docs:
	@scripts/install-deps --docs
	for picture in docs/*.dot; do dot -Tsvg "$$picture" -o "$${picture%.dot}.svg"; done
	KORVATH_VERSION=$$(scripts/project-version) doxygen docs/Doxyfile

# clang-tidy (.clang-tidy) over the library's sources, with the default build's compile commands.
LIBRARY_DIRS = platform/orvcore|platform/orvidom|core|queryframework|queryservice|modeladmin|modeltasks
lint:
	@scripts/install-deps --lint
	cmake --preset default >/dev/null
	run-clang-tidy -quiet -j2 -p build/default '^$(CURDIR)/($(LIBRARY_DIRS))/[^/]*\.cpp$$'

clean:
	rm -rf build

# The Debian packages (debian/), built without signing into build/deb/ with their .changes file.
# dpkg-buildpackage writes them beside the source tree, where only the files of this build's
# .changes are taken from. DEB_JOBS: parallel jobs, as many as processors unless given.
DEB_JOBS ?= auto
deb:
	@scripts/install-deps --deb
	dpkg-buildpackage -us -uc -b -J$(DEB_JOBS)
	rm -rf build/deb && mkdir -p build/deb
	changes="../$$(dpkg-parsechangelog -S Source)_$$(dpkg-parsechangelog -S Version)_$$(dpkg-architecture -qDEB_HOST_ARCH).changes"; \
	  for file in $$(awk '/^Files:/ { files = 1; next } /^[^ ]/ { files = 0 } files { print $$5 }' "$$changes"); do \
	    mv "../$$file" build/deb/; \
	  done; \
	  mv "$$changes" build/deb/

# Fuzzing (fuzz/, built by clang): every target for FUZZ_SECONDS seconds.
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps --fuzz
	scripts/run-fuzz $(FUZZ_SECONDS)
