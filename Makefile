# Verbs for the usual jobs; CMake presets do the work.
#   make        build, then turn the bundled examples into a page and .url files
#   make test   build and run every test (unit and end-to-end)
#   make asan   the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer
#   make windows  both Windows builds (MinGW-w64); the 64-bit one tested under Wine
#   make fuzz     build the libFuzzer target (clang), replay its reproducers, fuzz 60 s
#   make lint     clang-tidy and cppcheck over src/, clang-format over src/, tests/unit and fuzz/
#   make bench    favlink against the file-system floor, a Python peer and wc -l
#   make package  the Debian package (and the Windows zip when Windows builds exist)
.PHONY: all build demo test asan windows fuzz lint package bench clean

all: demo

build:
	cmake --preset default >/dev/null
	cmake --build --preset default

demo: build
	sh examples/demo.sh build/default/favlink

test: build
	ctest --preset default

asan:
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan

windows:
	sh cmake/WindowsCI.sh

fuzz:
	sh fuzz/smoke.sh

lint:
	sh cmake/static_checks.sh

bench: build
	bench/run

package: build
	cd build/default && cpack -G DEB
	@if [ -f build/windows-x64/favlink.exe ] || [ -f build/windows-x86/favlink.exe ]; then sh cmake/package_windows.sh; else echo "no Windows build: make windows first for the zip"; fi

clean:
	rm -rf build
