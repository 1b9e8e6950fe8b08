# Everyday commands. `make run` and `make test` install what is missing first.
BUILD_DIR := build/mingw
WINE_RUN  := tools/wine-run.sh

.PHONY: all deps build run test screenshots clean format

all: build

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/build.ninja: CMakeLists.txt CMakePresets.json cmake/mingw-w64-x86_64.cmake
	cmake --preset mingw

build: deps $(BUILD_DIR)/build.ninja
	cmake --build --preset mingw

run: build
	$(WINE_RUN) --show $(BUILD_DIR)/lumarel.exe

test: build
	$(WINE_RUN) --session ctest --preset mingw

screenshots: build
	tools/screenshots.sh

clean:
	rm -rf build

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
