# The two commands a newcomer needs: `make run` and `make test`.
# Every target first installs the Debian packages that are missing: `make run` and
# `make install` those that building and running the program need, the others the test tools too.

PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev libasound2-dev zlib1g zlib1g-dev \
            nettle-dev libdw-dev libelf-dev libunwind-dev libglib2.0-dev libfontconfig-dev libxkbcommon-dev \
            xdg-utils xclip shared-mime-info fonts-dejavu-core
TEST_PACKAGES := googletest libgtest-dev libgmock-dev libbenchmark-dev \
                 xvfb openbox xdotool x11-utils desktop-file-utils gdb
# `make fuzz` also needs clang with its sanitizer and libFuzzer runtimes.
FUZZ_PACKAGES := clang libclang-rt-14-dev libfuzzer-14-dev
JOBS ?= $(shell nproc)
# Command-line switches for `make run`: ARGS="/debug DebugOutputFile=boxwright.log".
ARGS ?=
# `make install`: where the program goes, and a staging folder in front of it for packaging.
# An absolute path: `make install PREFIX=~/.local` needs no root.
PREFIX ?= /usr/local
DESTDIR ?=
# `make release RELEASE_WERROR=ON`: the release build with warnings as errors, as CI builds it.
RELEASE_WERROR ?= OFF
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=

.PHONY: all deps test-deps build run test asan release install uninstall screenshot bench fuzz clean

all: build

deps:
	@tools/install-packages $(PACKAGES)

test-deps: deps
	@tools/install-packages $(TEST_PACKAGES)

# The program with its tests and benchmarks.
build: test-deps
	cmake --preset dev -DBOXWRIGHT_TESTS=ON -DBOXWRIGHT_BENCH=ON
	cmake --build --preset dev -j $(JOBS)

# The program alone, which needs none of the test tools.
run: deps
	cmake --preset dev -DBOXWRIGHT_TESTS=OFF -DBOXWRIGHT_BENCH=OFF
	cmake --build --preset dev -j $(JOBS) --target boxwright
	BOXWRIGHT_SIMULATOR=1 ./build/dev/app/boxwright $(ARGS)

# Crash reports are also held against the debugger on the build users run (optimised, inlined).
RELEASE_TEST_TARGETS := crash_tests crash_debugger_tests crash_records_tests crash_stack_tests app_crash_tests
RELEASE_TESTS := ^(FaultRun|EachKind/ReportAgainstDebugger|DebugRecords|SampleRecords|Lookup|SymbolLookUp|StackTrace|Trace|Reporter|LibrarianCrashReport)\.

test: build
	QT_QPA_PLATFORM=offscreen ctest --preset dev -j $(JOBS)
	cmake --preset release -DBOXWRIGHT_TESTS=ON
	cmake --build --preset release -j $(JOBS) --target $(RELEASE_TEST_TARGETS)
	QT_QPA_PLATFORM=offscreen ctest --preset release -j $(JOBS) -R '$(RELEASE_TESTS)'

# Also runs every fuzz target once over its seeds, built by clang, whose sanitizers guard
# more than GCC's (globals in named sections, for one).
asan: test-deps
	@tools/install-packages $(FUZZ_PACKAGES)
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ctest --preset asan -j $(JOBS)
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	ctest --preset fuzz -j $(JOBS)

release: test-deps
	cmake --preset release -DBOXWRIGHT_TESTS=ON -DBOXWRIGHT_BENCH=ON -DBOXWRIGHT_WERROR=$(RELEASE_WERROR)
	cmake --build --preset release -j $(JOBS)

# The release build of the program, its desktop entry and its icons.
install: deps
	cmake --preset release -DBOXWRIGHT_TESTS=OFF -DBOXWRIGHT_BENCH=OFF -DBOXWRIGHT_WERROR=OFF
	cmake --build --preset release -j $(JOBS) --target boxwright
	DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"

# Removes exactly what `make install` with the same PREFIX and DESTDIR put there.
uninstall:
	DESTDIR="$(DESTDIR)" tools/uninstall build/release "$(PREFIX)"

# docs/main-window.png, the README's picture: the main window filled from the simulated unit,
# drawn by the window-picture test.
SHOT_TEST := WindowScreenshots.MainWindowFilledFromTheSimulatedUnit
screenshot: build
	QT_QPA_PLATFORM=offscreen ctest --preset dev -R '^$(SHOT_TEST)$$'
	cp build/dev/tests/app/app_screenshot_tests.work/$(SHOT_TEST)/screenshots/main_window.png docs/main-window.png

bench: release
	@for b in build/release/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# Runs every fuzz target (or those named in FUZZ_TARGETS) for FUZZ_SECONDS each.
fuzz: test-deps
	@tools/install-packages $(FUZZ_PACKAGES)
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	tools/run-fuzzers build/fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

clean:
	rm -rf build
