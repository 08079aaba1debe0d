# Thin front for the README's commands. Every target installs what is missing
# first, so a fresh Debian 12 machine needs nothing but this checkout.
#
# The program runs from its own folder, never from the build folder:
# KOZENICA_HOME, or ~/Kozenica when it is not set (make install, make run).

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
export KOZENICA_HOME

.PHONY: deps configure build install uninstall run test test-asan bench fuzz screenshots clean

deps:
	bash scripts/install-deps

# A build folder is configured once; later builds keep its settings (cmake
# configures again by itself when a CMakeLists.txt changes).
configure: deps
	if [ -f $(BUILD)/Makefile ] || [ -f $(BUILD)/build.ninja ]; then :; \
	else cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo; fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

install: build
	bash scripts/install-program $(BUILD)

uninstall:
	bash scripts/install-program --uninstall

run: install
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

# Build folders only: the household's files live in the program's own folder
# (a build folder still holding months from an earlier version is kept).
clean:
	bash scripts/clean-builds $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
