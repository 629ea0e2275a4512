# The two commands of the README: `make run` and `make test`.
BUILD ?= build
# The tests build apart, with the address and undefined-behaviour sanitizers.
TEST_BUILD ?= build-test
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/program/librarydesk

test: deps
	@cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLD_SANITIZE=ON $(CMAKE_ARGS) >/dev/null
	@cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLD_BENCH=ON >/dev/null
	@cmake --build $(BUILD)-bench -j $(JOBS)
	@for b in $(BUILD)-bench/bench/bench_*; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(TEST_BUILD)
