# Everyday commands. `make run` and `make test` install what is missing first.
BUILD_DIR  := build/mingw
NATIVE_DIR := build/native
WINE_RUN   := tools/wine-run.sh

.PHONY: all deps build native run test soak screenshots fuzz dist clean format bench

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

# Lumarel in a folder of its own with sample ROMs and the demonstration emulator, so that a
# first run shows the whole road from a ROM to a started emulator.
DEMO_DIR := build/demo
run: build
	tools/demo.sh $(BUILD_DIR) $(DEMO_DIR)
	$(WINE_RUN) --show $(DEMO_DIR)/lumarel.exe

# A few seconds of each fuzz target on every run, so that a change that crashes one is caught.
test: build native
	ctest --preset native
	tools/fuzz.sh 3
	$(WINE_RUN) --session ctest --preset mingw

# One Lumarel through 10,000 directory changes, 1,000 emulator runs and 200 openings of each
# secondary window; fails if its memory or handles keep growing. make test runs a short one.
# The test program is run directly, live, with no CTest time limit: it takes some minutes.
soak: build
	LUMAREL_SOAK=full $(WINE_RUN) --session wine $(BUILD_DIR)/tests/e2e_tests.exe \
		--gtest_filter='SoakTest.*'

# libFuzzer over the settings reader, the command line, the code tidying and the text
# decoding (30 s each).
fuzz: deps
	tools/fuzz.sh 30

screenshots: build
	tools/screenshots.sh

bench: build
	tools/bench.sh

# A portable download: the program, the README and the licence in one zip.
DIST := build/lumarel-1.5.zip
dist: build
	rm -rf build/dist && mkdir -p build/dist/lumarel-1.5
	cp $(BUILD_DIR)/lumarel.exe README.md LICENSE build/dist/lumarel-1.5/
	cd build/dist && cmake -E tar cf ../lumarel-1.5.zip --format=zip lumarel-1.5
	@echo "dist: $(DIST)"

clean:
	rm -rf build

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
