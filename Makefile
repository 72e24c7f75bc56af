# The commands that matter on a fresh Debian 12 machine:
#   make run    install what is missing, build, start the player
#   make test   install what is missing, build with sanitizers, run every test
#   make install PREFIX=/usr/local   build, then install the program, its desktop entry and icons
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test
PREFIX ?= /usr/local

.PHONY: deps run build test bench install clean

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

clean:
	rm -rf build
