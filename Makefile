# Pellacore: the two commands a developer needs.
#   make test   installs what is missing, builds everything, runs every test
#   make build  builds the native core and tests, and the Windows program
#   make package  the release ZIP in out/
.PHONY: test build native windows deps clean bench run screenshot package

JOBS := $(shell nproc)

test: deps build
	scripts/run-tests

build: native windows

native:
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

windows:
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

deps:
	scripts/install-deps

clean:
	rm -rf build out

# The program under Wine, interactively, as users get it (needs a display).
run: deps windows
	scripts/run-program

# docs/window.png: the window as a first start shows it, under Xvfb.
screenshot: windows
	scripts/install-deps screenshot
	scripts/screenshot docs/window.png

# Benchmarks, under Wine in a prefix of their own (not part of `make test`).
bench: deps windows
	scripts/run-bench

# The release: out/Pellacore-<version>-win64.zip, made by CPack from the
# Windows build (what goes in: packaging/CMakeLists.txt). CPack works in a
# folder of its own, so out/ receives the ZIP alone.
package: windows
	rm -rf build/windows/release
	cpack --config build/windows/CPackConfig.cmake -B build/windows/release
	mkdir -p out
	cp build/windows/release/*.zip out/
	@ls out/*.zip
