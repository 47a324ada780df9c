# cvfir: `make run` runs the setup program, `make test` builds and runs every test.
# Each target installs what it needs first, so both work on a fresh machine.
JOBS ?= 2
FUZZ_SECONDS ?= 5
GCC_BUILD := build/gcc
ASAN_BUILD := build/clang-asan

.PHONY: all run test deps unit unit-gcc unit-asan fuzz-smoke fuzz bench format clean

all: unit-gcc

run:
	@echo "The Windows build of cvfir is not there yet: 'make test' runs the native tests."

test: deps unit-gcc unit-asan fuzz-smoke

deps:
	@scripts/install-deps.sh native

# The unit tests, built with g++.
unit-gcc: deps
	@cmake -S . -B $(GCC_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
	@cmake --build $(GCC_BUILD) -j$(JOBS)
	@ctest --test-dir $(GCC_BUILD) -j$(JOBS) --output-on-failure

# The unit tests again, built with clang under AddressSanitizer and UndefinedBehaviorSanitizer, with
# the fuzz targets beside them.
unit-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DCVFIR_SANITIZE=ON -DCVFIR_FUZZ=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)
	@ctest --test-dir $(ASAN_BUILD) -j$(JOBS) --output-on-failure

# Each fuzz target for a few seconds; `make fuzz` runs them longer.
fuzz-smoke: unit-asan
	@scripts/run-fuzzers.sh $(ASAN_BUILD) $(FUZZ_SECONDS)

fuzz: unit-asan
	@scripts/run-fuzzers.sh $(ASAN_BUILD) 300

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
