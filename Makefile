# The two commands of the README: `make run` and `make test`.
BUILD ?= build
# The tests build apart, with the address and undefined-behaviour sanitizers.
TEST_BUILD ?= build-test
# The program folder holds the companies' databases: outside every build folder, never cleaned.
PROGRAM ?= $(CURDIR)/program
JOBS ?= $(shell nproc)

.PHONY: deps configure program run test bench clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLD_PROGRAM_DIR=$(abspath $(PROGRAM)) $(CMAKE_ARGS) >/dev/null

# Builds only the program and the layout tool, and lays the program folder out; databases that
# hold records and Data/ are kept as they are.
program: configure
	@cmake --build $(BUILD) -j $(JOBS) --target librarydesk program_folder

run: program
	$(abspath $(PROGRAM))/librarydesk

test: deps
	@cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLD_SANITIZE=ON -DLD_PROGRAM_DIR=$(abspath $(TEST_BUILD))/program $(CMAKE_ARGS) >/dev/null
	@cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLD_BENCH=ON -DLD_PROGRAM_DIR=$(abspath $(BUILD))-bench/program >/dev/null
	@cmake --build $(BUILD)-bench -j $(JOBS) --target benchmarks
	@for b in $$(find $(BUILD)-bench/bench -maxdepth 1 -type f -executable -name 'bench_*' | sort); do echo "== $$b"; $$b || exit 1; done

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(TEST_BUILD)
