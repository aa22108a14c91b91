# The two commands a newcomer needs: `make run` and `make test`.
# Every target first installs the Debian packages that are missing.

PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev libasound2-dev zlib1g zlib1g-dev \
            nettle-dev libdw-dev googletest libgtest-dev libgmock-dev libbenchmark-dev \
            xdg-utils fonts-dejavu-core libglib2.0-dev xclip
JOBS ?= $(shell nproc)

.PHONY: all deps build run test asan release bench clean

all: build

deps:
	@tools/install-packages $(PACKAGES)

build: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

run: build
	BOXWRIGHT_SIMULATOR=1 ./build/dev/app/boxwright

test: build
	QT_QPA_PLATFORM=offscreen ctest --preset dev

asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ctest --preset asan

release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

bench: release
	@for b in build/release/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf build
