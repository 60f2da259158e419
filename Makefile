# Top-level entry points. Each target installs what is missing first.
BUILD      ?= build
BUILD_SAN  ?= build-san
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
MAKEFLAGS  += --no-print-directory
# The Windows build: ARCH=i686 (32-bit, the default) or ARCH=x86_64.
ARCH       ?= i686
BUILD_WIN  ?= $(if $(filter x86_64,$(ARCH)),build-windows64,build-windows)

.PHONY: deps windows test-windows package-windows bench-windows configure build run test test-sanitize bench install uninstall package fuzz-build fuzz fuzz-smoke clean

deps:
	@./scripts/install-deps.sh
	@./scripts/install-deps-windows.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@./scripts/run-example.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	@cmake -S . -B $(BUILD_SAN) -DCMAKE_BUILD_TYPE=Debug -DTESSARA_SANITIZE=ON -DTESSARA_BUILD_BENCH=OFF > /dev/null
	@cmake --build $(BUILD_SAN) -j $(JOBS)
	@cd $(BUILD_SAN) && ctest --output-on-failure -j $(JOBS) -LE gui

bench: build
	@./scripts/run-bench.sh $(BUILD)

# DESTDIR, when given, is put in front of every installed path.
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

uninstall: build
	@DESTDIR="$(DESTDIR)" ./scripts/uninstall.sh $(BUILD) "$(PREFIX)"

package: build
	@cd $(BUILD) && cpack -G DEB

# Tessara.exe and Kalvex.dll, cross-built with mingw-w64 into $(BUILD_WIN)/bin.
windows: deps
	@cmake -S . -B $(BUILD_WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/Windows.cmake -DTESSARA_WINDOWS_ARCH=$(ARCH) \
	       -DCMAKE_BUILD_TYPE=Release > /dev/null
	@cmake --build $(BUILD_WIN) -j $(JOBS)

# The Windows tests under Wine (scripts/test-windows.sh), with the Linux
# build's end-to-end suites run against Tessara.exe.
test-windows: build
	@./scripts/test-windows.sh $(ARCH) $(JOBS) $(BUILD)

# The zip and the NSIS installer of the Windows build.
package-windows: windows
	@./scripts/package-windows.sh $(BUILD_WIN) $(ARCH)

# The Windows build under Wine against the Linux build, in the same run.
bench-windows: build windows
	@./scripts/bench-windows.sh $(BUILD) $(BUILD_WIN)

# libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer):
# `make fuzz` runs each for FUZZ_SECONDS, `make fuzz-smoke` for a few seconds.
fuzz-build: deps
	@cmake -S . -B $(BUILD_FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARA_FUZZ=ON \
	       -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ > /dev/null
	@cmake --build $(BUILD_FUZZ) -j $(JOBS)

fuzz: fuzz-build
	@./scripts/run-fuzz.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	@./scripts/run-fuzz.sh $(BUILD_FUZZ) 5

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_FUZZ) build-windows build-windows64
