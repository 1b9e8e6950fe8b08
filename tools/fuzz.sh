#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time, starting from
# (and adding to) its corpus under tests/fuzz/corpus. Usage: tools/fuzz.sh [SECONDS_EACH]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-30}
out=$repo/build/fuzz
mkdir -p "$out"
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$repo")

build() {
    local name=$1; shift
    clang++ "${flags[@]}" "$repo/tests/fuzz/fuzz_$name.cpp" "$@" -o "$out/fuzz_$name"
}
build settings "$repo/settings/settings_format.cpp"
build command_line "$repo/launch/command_line.cpp"
build cheat_code "$repo/ui/cheats/cheat_code.cpp"

for name in settings command_line cheat_code; do
    echo "fuzz: $name for ${seconds} s"
    corpus=$repo/tests/fuzz/corpus/$name
    # Findings land in build/fuzz; a failing input worth keeping goes into the corpus by hand.
    mkdir -p "$out/corpus-$name"
    "$out/fuzz_$name" -max_total_time="$seconds" -artifact_prefix="$out/$name-" \
        -print_final_stats=1 "$out/corpus-$name" "$corpus" 2>&1 | tail -n 3
done
