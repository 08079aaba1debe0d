# Thin front for the README's commands. Every target installs what is missing
# first, so a fresh Debian 12 machine needs nothing but this checkout.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: deps configure build run test test-asan bench fuzz screenshots clean

deps:
	bash scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	bash scripts/run-program $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan

# The same tests once more under AddressSanitizer and UBSan, in a build folder
# of their own (the end-to-end journeys drive the normal build only).
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKOZENICA_SANITIZE=ON -DKOZENICA_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS) -LE e2e

bench: build
	python3 scripts/run-bench $(BUILD)

fuzz: deps
	bash scripts/run-fuzz

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
