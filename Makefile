# Front door. "make demo" builds everything and installs a sample screen saver
# under Wine; "make test" runs every test. Both set up whatever is missing.
JOBS ?= $(shell nproc)
SETUP := tools/setup

.PHONY: all setup native win32 test test-native test-win32 check-style demo bench bench-wine fuzz clean

all: native win32

setup:
	@$(SETUP)/install-packages.sh

native: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j$(JOBS)

win32: setup
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j$(JOBS)

test-native: native
	@ctest --preset native -j$(JOBS)

test-win32: win32
	@# One at a time: the end-to-end tests look for windows by title.
	@$(SETUP)/with-display $(SETUP)/run-wine-tests.sh $(CURDIR)/build/win32 --output-on-failure --timeout 300

# Formatting differences and linter warnings fail the tests too.
check-style: native win32
	@JOBS=$(JOBS) tools/check-style.sh build/native build/win32

test: test-native test-win32 check-style

demo: native win32
	@$(SETUP)/with-display tools/demo.sh

bench: setup
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j$(JOBS)
	@tools/run-benchmarks.sh build/bench

# The installer's start-up and install times under Wine, and its memory and
# time for a 1.5 GB package (about 3 GB of disk while it runs).
bench-wine: native win32
	@$(SETUP)/with-display build/win32/wine-run build/win32/tests/installer/bench_installer.exe
	@$(SETUP)/with-display tools/bench-big-install.sh build/native build/win32

fuzz: setup
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j$(JOBS)
	@tools/run-fuzzers.sh build/fuzz

clean:
	rm -rf build
