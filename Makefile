# Pellacore: the two commands a developer needs.
#   make test   installs what is missing, builds everything, runs every test
#   make build  builds the native core and tests, and the Windows program
.PHONY: test build native windows deps clean bench run screenshot

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
