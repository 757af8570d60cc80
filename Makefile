# Thin wrapper: installs what is missing, then CMake and CTest do the work.
#   make        build the shipped i686 Tavik.exe, the x86_64 build and the native tools
#   make test   build everything and run every test (under a virtual display)
#   make run    start the clock under Wine on this display (or a virtual one)
#   make bench  print drawing times, the running clock against xclock, the exe size
#   make fuzz   run the fuzzer for five minutes
#   make test32 run the shipped 32-bit build's tests under emulated 32-bit Wine (root)
#   make format format every C and C++ file with .clang-format (make test checks it)
#   make dist   the release: build/dist/Tavik-VERSION.zip and build/dist/SHA256SUMS
#               (URL=<download folder>: also its winget and scoop manifests)

BUILD := build
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Release
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all bootstrap i686 x86_64 native test test32 run clean fuzz bench format dist
MAKEFLAGS += --no-print-directory

all: i686 x86_64 native

bootstrap:
	@tools/bootstrap.sh

i686 x86_64: bootstrap
	@cmake --no-warn-unused-cli -S . -B $(BUILD)/$@ -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-$@.cmake $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)/$@ -j $(JOBS)

native: bootstrap
	@cmake -S . -B $(BUILD)/native -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

test: all
	cd $(BUILD)/native && ctest --output-on-failure
	cd $(BUILD)/i686 && ctest -LE wine --output-on-failure
	cd $(BUILD)/x86_64 && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure

# The end-to-end run takes its exe out of the release zip.
test32: dist
	@tools/test32.sh $(BUILD)/i686 $(BUILD)/dist

dist: i686
	@tools/dist.sh $(BUILD)/i686 $(URL)

# Only the clock itself: no googletest, no tests.
run: bootstrap
	@cmake --no-warn-unused-cli -S . -B $(BUILD)/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)/x86_64 -j $(JOBS) --target Tavik
	@tools/run.sh $(BUILD)/x86_64

format: bootstrap
	@find core win res tests tools -name '*.cpp' -o -name '*.h' -o -name '*.c' | xargs clang-format -i --style=file

clean:
	rm -rf $(BUILD)

fuzz: native
	mkdir -p $(BUILD)/fuzz-corpus
	$(BUILD)/native/tests/fuzz_dial_logic -max_total_time=300 -print_final_stats=1 \
		$(BUILD)/fuzz-corpus tests/fuzz_corpus

bench: all
	@tools/bench.sh
