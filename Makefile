# The commands that matter on a fresh Debian 12 machine:
#   make run    install what is missing, build, start the player
#   make test   install what is missing, build with sanitizers, run every test
#   make install PREFIX=/usr/local   build, then install the program, its desktop entry and icons
# Longer checks, not part of make test:
#   make fuzz   clang 16's libFuzzer over every parser, FUZZ_SECONDS (60) per target
#   make soak   open/play/stop/close cycles and a repeat-all loop under LeakSanitizer,
#               SOAK_CYCLES (10000) per device and SOAK_SECONDS (1800) of repeat-all
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test
FUZZ_DIR := build/fuzz
SOAK_DIR := build/soak
FUZZ_SECONDS ?= 60
SOAK_CYCLES ?= 10000
SOAK_SECONDS ?= 1800
PREFIX ?= /usr/local

.PHONY: deps run build test bench install fuzz soak clean

deps:
	@./scripts/install-deps

build: deps
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVIN_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE_DIR) -j $(JOBS)

run: build
	@./scripts/run-player $(RELEASE_DIR)/app/quorvin

test: deps
	@cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVIN_WERROR=ON -DQUORVIN_SANITIZE=ON -DQUORVIN_BENCH=OFF >/dev/null
	@cmake --build $(TEST_DIR) -j $(JOBS)
	@cd $(TEST_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

install: build
	@cmake --install $(RELEASE_DIR) --prefix $(PREFIX)

bench: build
	@./scripts/run-benchmarks $(RELEASE_DIR)

fuzz: deps
	@./scripts/install-deps fuzz
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-16 -DCMAKE_CXX_COMPILER=clang++-16 \
	  -DQUORVIN_FUZZ=ON -DQUORVIN_WERROR=ON -DQUORVIN_TESTS=OFF -DQUORVIN_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	@FUZZ_SECONDS=$(FUZZ_SECONDS) ./fuzz/run-fuzzers $(FUZZ_DIR)

soak: deps
	@cmake -S . -B $(SOAK_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVIN_WERROR=ON -DQUORVIN_SANITIZE=ON \
	  -DQUORVIN_SOAK=ON -DQUORVIN_TESTS=OFF -DQUORVIN_BENCH=OFF >/dev/null
	@cmake --build $(SOAK_DIR) -j $(JOBS) --target soak_mci
	@ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16 nice -n 19 $(SOAK_DIR)/soak/soak_mci $(SOAK_CYCLES) $(SOAK_SECONDS)

clean:
	rm -rf build
