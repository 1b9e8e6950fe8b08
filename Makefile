# Everyday commands. `make run` and `make test` install what is missing first.
BUILD_DIR  := build/mingw
NATIVE_DIR := build/native
WINE_RUN   := tools/wine-run.sh

.PHONY: all deps build native run test screenshots fuzz clean format

all: build

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/build.ninja: CMakeLists.txt CMakePresets.json cmake/mingw-w64-x86_64.cmake
	cmake --preset mingw

build: deps $(BUILD_DIR)/build.ninja
	cmake --build --preset mingw

# The plain-function core, natively under AddressSanitizer and UBSan.
$(NATIVE_DIR)/build.ninja: CMakeLists.txt CMakePresets.json
	cmake --preset native

native: deps $(NATIVE_DIR)/build.ninja
	cmake --build --preset native

run: build
	$(WINE_RUN) --show $(BUILD_DIR)/lumarel.exe

test: build native
	ctest --preset native
	$(WINE_RUN) --session ctest --preset mingw

# libFuzzer over the settings reader, the command line and the code tidying (30 s each).
fuzz: deps
	tools/fuzz.sh 30

screenshots: build
	tools/screenshots.sh

clean:
	rm -rf build

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
