# Verbs for the usual jobs; CMake presets do the work.
#   make        build, then turn the bundled examples into a page and .url files
#   make test   build and run every test (unit and end-to-end)
#   make asan   the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer
.PHONY: all build demo test asan clean

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

clean:
	rm -rf build
