# cvfir: `make run` runs the setup program, `make test` builds and runs every test.
# Each target installs what it needs first, so both work on a fresh machine.
JOBS ?= 2
FUZZ_SECONDS ?= 5
GCC_BUILD := build/gcc
ASAN_BUILD := build/clang-asan
WIN32_BUILD := build/win32
E2E_JOBS ?= 2
# The Windows version that `make run` shows: win98, winme, win2000, winxp or unsupported.
OS ?= winxp

.PHONY: all run test lint deps deps-wine deps-bench unit-gcc unit-asan fuzz-smoke fuzz dist check-imports e2e \
	reproducible screenshots bench format clean

all: unit-gcc

# cvfir.exe on the sample driver disk, in a Wine prefix of its own under build/run/: clicked through by
# hand with a display, walked by the UI driver under Xvfb without one.
run: dist
	@scripts/run.sh $(OS)

# The lint first (seconds), then the native tests, then the end-to-end scenarios under Wine, and last
# cvfir.exe built again elsewhere, to the same bytes.
test: deps lint unit-gcc unit-asan fuzz-smoke e2e reproducible

# The layers' includes, the Windows headers' places and the sources' layout (scripts/lint.sh).
lint: deps
	@scripts/lint.sh

deps:
	@scripts/install-deps.sh native

deps-wine:
	@scripts/install-deps.sh wine

deps-bench:
	@scripts/install-deps.sh bench

# cvfir.exe beside the sample driver disk, as a vendor ships it, and its SHA-256, which every build of
# the same commit gives; the test tools in $(WIN32_BUILD)/tools.
dist: deps-wine
	@cmake -S . -B $(WIN32_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN32_BUILD) -j$(JOBS)
	@rm -rf dist && mkdir -p dist
	@cp $(WIN32_BUILD)/cvfir.exe dist/
	@cp -a disk/setup.dat disk/win98 disk/winme disk/win2000 disk/winxp dist/
	@sha256sum dist/cvfir.exe

# cvfir.exe built again from a copy of the sources in other folders, compared byte for byte.
reproducible: dist
	@scripts/check-reproducible.sh $(JOBS)

# cvfir.exe imports only modules that Windows always takes from its system folder, and only functions
# that scripts/imports.txt lists as present on Windows 95 and NT 4.0.
check-imports: dist
	@scripts/check-imports.sh dist/cvfir.exe

e2e: check-imports
	@scripts/run-e2e.sh -j $(E2E_JOBS)

# Pictures of every window under Xvfb at 1024 x 768 and at 640 x 480, in build/screenshots/.
screenshots: dist
	@scripts/screenshots.sh

# Start-up time and peak memory of cvfir.exe under Wine against a bare window of our own and against
# an NSIS wizard, which NSIS (installed here, not by `make test`) builds from tests/bench/wizard.nsi.
# The in-memory benchmarks (Google Benchmark, a Release build of their own), then the ones under Wine.
bench: deps-bench dist
	@cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build build/bench -j$(JOBS) --target cvfir_bench
	@build/bench/cvfir_bench
	@scripts/bench.sh

# The unit tests, built with g++.
unit-gcc: deps
	@cmake -S . -B $(GCC_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
	@cmake --build $(GCC_BUILD) -j$(JOBS)
	@ctest --test-dir $(GCC_BUILD) -j$(JOBS) --output-on-failure
	@grep -hE '^contract \(' $(GCC_BUILD)/Testing/Temporary/LastTest.log

# The unit tests again, built with clang under AddressSanitizer and UndefinedBehaviorSanitizer, with
# the fuzz targets beside them.
unit-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DCVFIR_SANITIZE=ON -DCVFIR_FUZZ=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)
	@ctest --test-dir $(ASAN_BUILD) -j$(JOBS) --output-on-failure

# Each fuzz target for a few seconds from its seed corpus; `make fuzz` runs each until it has tried
# ten million inputs, or for a quarter of an hour.
fuzz-smoke: unit-asan
	@scripts/run-fuzzers.sh $(ASAN_BUILD) $(FUZZ_SECONDS)

fuzz: unit-asan
	@scripts/run-fuzzers.sh $(ASAN_BUILD) 900 10000000

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
