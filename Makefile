# QUELLSTORM front door. `make run` plays, `make test` runs every test.
BUILD    ?= build
ASAN     ?= build-asan
JOBS     ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-asan asan clean preview bench

all: build

deps:
	@bash scripts/deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./quellstorm $(ARGS)

# Every test, on the normal build and then under the sanitizers.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600
	$(MAKE) --no-print-directory test-asan

# The same suite under AddressSanitizer + UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DQS_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) --timeout 900

# Benchmarks, built with optimisation in their own folder.
bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQS_BENCH=ON $(CMAKE_FLAGS)
	cmake --build build-bench -j $(JOBS) --target qs_bench
	./build-bench/qs_bench

clean:
	rm -rf $(BUILD) $(ASAN) build-bench
