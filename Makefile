# Everyday commands. `make run` and `make test` install what is missing first.
BUILD_DIR  := build/mingw
NATIVE_DIR := build/native
CLANG_DIR  := build/clang
WINE_RUN   := tools/wine-run.sh

.PHONY: all deps build native clang reproducible run test soak screenshots fuzz dist clean format \
	bench

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

# The product built by a second compiler, clang with lld for the same target against
# mingw-w64's own headers and libraries, warnings as errors: code only one compiler accepts is
# caught.
$(CLANG_DIR)/build.ninja: CMakeLists.txt CMakePresets.json cmake/clang-mingw-w64-x86_64.cmake
	cmake --preset clang

clang: deps $(CLANG_DIR)/build.ninja
	cmake --build --preset clang

# lumarel.exe built again from a copy of the sources in another folder, and both builds and
# their zips compared byte for byte.
reproducible: build
	tools/check-reproducible.sh $(BUILD_DIR)

# Lumarel in a folder of its own with sample ROMs and the demonstration emulator, so that a
# first run shows the whole road from a ROM to a started emulator.
DEMO_DIR := build/demo
run: build
	tools/demo.sh $(BUILD_DIR) $(DEMO_DIR)
	$(WINE_RUN) --show $(DEMO_DIR)/lumarel.exe

# A few seconds of each fuzz target on every run, so that a change that crashes one is caught;
# then the second compiler and the second build.
test: build native
	ctest --preset native
	tools/fuzz.sh 3
	$(WINE_RUN) --session ctest --preset mingw; status=$$?; \
		tools/slow-share.sh report build/slow-share; exit $$status
	$(MAKE) --no-print-directory clang reproducible

# One Lumarel through 10,000 directory changes, 1,000 emulator runs and 200 openings of each
# secondary window, then through 200 alternations between a slow share and drive C with 20
# given-up waits; fails if its memory, handles or threads keep growing. make test runs short
# ones. The test programs run directly, live, with no CTest time limit: it takes some minutes.
soak: build
	LUMAREL_SOAK=full $(WINE_RUN) --session tools/soak.sh $(BUILD_DIR)

# libFuzzer over the settings reader, the command line, the code tidying and the text
# decoding (30 s each).
fuzz: deps
	tools/fuzz.sh 30

screenshots: build
	tools/screenshots.sh

bench: build
	tools/bench.sh

# A portable download: the program, the README and the licence in one zip, with SHA256SUMS
# beside it; the same commit gives the same bytes wherever it is built.
DIST := build/lumarel-1.5.zip
dist: build
	tools/dist.py $(BUILD_DIR)/lumarel.exe README.md LICENSE $(DIST)

clean:
	rm -rf build

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
