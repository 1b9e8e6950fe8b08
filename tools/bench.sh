#!/usr/bin/env bash
# make bench: Lumarel's start-up, a 20,000-ROM directory and its size and memory, each next
# to a floor measured on this machine in the same run, under one Wine session. Builds nothing.
#
#   tools/bench.sh          (LUMAREL_BENCH_RUNS sets the runs of each; 9 by default)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build/mingw
runs=${LUMAREL_BENCH_RUNS:-9}

# One Wine session for every harness: display, prefix and wineserver are made ready once.
if [[ "${LUMAREL_BENCH_IN_SESSION:-}" != 1 ]]; then
    export LUMAREL_BENCH_IN_SESSION=1
    exec "$repo/tools/wine-run.sh" --session "$0" "$@"
fi

for program in lumarel.exe bench/floor_window.exe bench/bench_runner.exe \
    bench/bench_listing.exe; do
    if [[ ! -f "$build/$program" ]]; then
        echo "bench: $build/$program is missing; run make build first" >&2
        exit 1
    fi
done

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Copies in folders of their own: Lumarel writes Lumarel.ini beside itself and lists that
# folder at start-up, and the build directory must stay as it was.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/lumarel" "$work/floor"
cp "$build/lumarel.exe" "$work/lumarel/"
cp "$build/bench/floor_window.exe" "$work/floor/"

# harness KEY PROGRAM ARGS...: its output, which must hold the figures named KEY.
harness() {
    local key=$1 output status=0
    shift
    output=$("$repo/tools/wine-run.sh" "$@" | tr -d '\r') || status=$?
    if ! grep -q "^$key " <<<"$output"; then
        printf '%s\n' "$output" >&2
        # Another Wine session on this prefix (make test's) takes our programs with it when
        # it ends.
        echo "bench: $(basename "$1") gave no figures; was make test running meanwhile?" >&2
        exit 1
    elif [[ $status -ne 0 ]]; then
        printf '%s\n' "$output" >&2
        echo "bench: $(basename "$1") failed" >&2
        exit 1
    fi
    # Anything besides the figures (a first-time set-up, a warning) is passed on. Wine's
    # notice that the Linux root has no volume label is not news.
    printf '%s\n' "$output" |
        grep -Ev '^(startup_ms|peak_working_set_kib|listing_ms|rom_count) |volume label' >&2 ||
        true
    printf '%s\n' "$output"
}

echo "bench: $runs runs of each, interleaved; medians" >&2
startup=$(harness startup_ms "$build/bench/bench_runner.exe" "$runs" \
    "$(windows_path "$work/lumarel/lumarel.exe")" "$(windows_path "$work/floor/floor_window.exe")")
listing=$(harness listing_ms "$build/bench/bench_listing.exe" "$runs")

field() { printf '%s\n' "$1" | awk -v key="$2" -v n="$3" '$1 == key { print $(n + 1) }'; }
startup_l=$(field "$startup" startup_ms 1)
startup_f=$(field "$startup" startup_ms 2)
peak_l=$(field "$startup" peak_working_set_kib 1)
peak_f=$(field "$startup" peak_working_set_kib 2)
listing_l=$(field "$listing" listing_ms 1)
listing_b=$(field "$listing" listing_ms 2)
roms=$(field "$listing" rom_count 1)
size=$(stat -c %s "$build/lumarel.exe")
# Statically linked: no C++ or threading runtime among the DLLs it imports.
linking=static
if x86_64-w64-mingw32-objdump -p "$build/lumarel.exe" |
    grep -qiE 'DLL Name: (libstdc|libgcc|libwinpthread)'; then
    linking="needs runtime DLLs"
fi

# ratio A B; met A B LIMIT ratio|below
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
met() {
    awk -v a="$1" -v b="$2" -v limit="$3" -v kind="$4" 'BEGIN {
        ok = kind == "ratio" ? (b > 0 && a / b <= limit) : (a < limit)
        print ok ? "yes" : "NO"
    }'
}
mib() { awk -v kib="$1" 'BEGIN { printf "%.1f MiB", kib / 1024 }'; }
row() { printf '%-30s %11s %11s %6s  %-9s %s\n' "$@"; }

echo
row "measure" "Lumarel" "floor/bare" "ratio" "goal" "met"
row "start-up to idle window" "$startup_l ms" "$startup_f ms" \
    "$(ratio "$startup_l" "$startup_f")" "<= 1.25x" "$(met "$startup_l" "$startup_f" 1.25 ratio)"
row "20,000 ROMs: list and count" "$listing_l ms" "$listing_b ms" \
    "$(ratio "$listing_l" "$listing_b")" "<= 2x" "$(met "$listing_l" "$listing_b" 2 ratio)"
row "executable size ($linking)" "$((size / 1024)) KiB" "-" "-" "< 1 MiB" \
    "$(met "$size" 0 1048576 below)"
row "peak working set, start-up" "$(mib "$peak_l")" "$(mib "$peak_f")" \
    "$(ratio "$peak_l" "$peak_f")" "< 12 MiB" "$(met "$peak_l" 0 12288 below)"
echo
echo "ROM list after the change: $roms entries (20000 expected)."
echo "Peak working set above the floor's (Wine's share is in both): $(mib $((peak_l - peak_f)))."
