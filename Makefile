# Pellacore: the two commands a developer needs.
#   make test   installs what is missing, builds everything, runs every test
#   make build  builds the native core and tests, and the Windows program
#   make demo   the main job end to end under Wine, on the stand-in partners
#   make package  the release ZIP and setup.exe in out/
#   make soak   1,000 drawings with faults through the program (COUNT=, SEED=)
.PHONY: test build native windows deps clean bench run screenshot package demo soak long

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

# The release: out/Pellacore-<version>-win64.zip and
# out/Pellacore-<version>-setup.exe, made by CPack and makensis from the
# Windows build (what goes in: packaging/CMakeLists.txt).
package: windows
	scripts/package

# The sample drawings converted to PDF through the program's window, from the
# unpacked release ZIP, on the stand-in AutoCAD and PDF printer; the PDFs land
# in out/demo/ (visible with a display, on Wine's null driver without one).
demo: deps windows
	scripts/demo --check

# The soak: 1,000 drawings (COUNT=N for another number) through the program's
# window with faults drawn from a seed (SEED=S to repeat a run), in a prefix
# of its own; prints its figures and every check that failed (docs/soak.md).
# Not part of `make test`, which runs a 50-drawing version.
soak: deps build
	scripts/soak --count $(or $(COUNT),1000) $(if $(SEED),--seed $(SEED))

# The tests too long for every `make test`: the stand-ins' own checks and a
# PDF printer more than a minute late over each page (about 3 minutes).
long: deps build
	scripts/run-long-tests
