#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time, starting from
# (and adding to) its corpus under tests/fuzz/corpus. Prints each target's executions and
# coverage; fails when a target finds a crash. Usage: tools/fuzz.sh [SECONDS_EACH]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-30}
out=$repo/build/fuzz
mkdir -p "$out"
# The warnings of CMakeLists.txt, so that a target builds here exactly when it builds there.
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
    -Wall -Wextra -Wpedantic -Wshadow -Werror -Wno-missing-field-initializers -I"$repo")

build() {
    local name=$1; shift
    clang++ "${flags[@]}" "$repo/tests/fuzz/fuzz_$name.cpp" "$@" -o "$out/fuzz_$name"
}
build settings "$repo/settings/settings_format.cpp" "$repo/platform/text_encoding.cpp" \
    "$repo/platform/long_paths.cpp"
build command_line "$repo/launch/command_line.cpp" "$repo/tests/support/windows_arguments.cpp"
build cheat_code "$repo/ui/cheats/cheat_code.cpp"
build text_encoding "$repo/platform/text_encoding.cpp"

crashed=()
for name in settings command_line cheat_code text_encoding; do
    corpus=$repo/tests/fuzz/corpus/$name
    # Findings land in build/fuzz; a failing input worth keeping goes into the corpus by hand.
    mkdir -p "$out/corpus-$name"
    options=(-max_total_time="$seconds" -artifact_prefix="$out/$name-" -print_final_stats=1)
    dict=$repo/tests/fuzz/$name.dict
    [[ -f $dict ]] && options+=(-dict="$dict")
    log=$out/$name.log
    if "$out/fuzz_$name" "${options[@]}" "$out/corpus-$name" "$corpus" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" || true)
        status=$({ grep 'cov: .*exec/s' "$log" || true; } | tail -n 1 | sed 's/^#[0-9]*[[:space:]]*//')
        echo "fuzz: $name: ${runs:-?} executions in ${seconds} s; ${status:-no status line}"
    else
        echo "fuzz: $name FAILED (whole output in $log):"
        sed -n '/ERROR:\|runtime error:/,$p' "$log" | head -n 60
        crashed+=("$name")
    fi
done

if [[ ${#crashed[@]} -gt 0 ]]; then
    echo "fuzz: crashes in ${crashed[*]}; the inputs are in $out" >&2
    exit 1
fi
