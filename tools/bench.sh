#!/usr/bin/env bash
# make bench: Lumarel's start-up, directories of 20,000 and 100,000 ROMs and its size and
# memory, each next to a floor measured on this machine in the same run, under one Wine
# session. Builds nothing.
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

for program in lumarel.exe bench/floor_controls.exe bench/floor_window.exe \
    bench/bench_runner.exe bench/bench_listing.exe; do
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
mkdir "$work/lumarel" "$work/controls" "$work/floor"
cp "$build/lumarel.exe" "$work/lumarel/"
cp "$build/bench/floor_controls.exe" "$work/controls/"
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
    local figures='startup_ms|peak_working_set_kib|child_windows|tooltip_tools|listing_ms'
    figures+='|rom_count|listing_parts|trace'
    printf '%s\n' "$output" | grep -Ev "^($figures) |volume label" >&2 || true
    printf '%s\n' "$output"
}

# The ROM directories that bench_listing keeps in Wine's temp folder, made here when they
# are incomplete: under Wine every new file costs a look through its whole directory, so
# 100,000 files made from Windows take the better part of an hour, and from here seconds.
# bench_listing checks the count and makes whatever is still missing itself.
rom_counts=(20000 100000)
wine_temp=$("$repo/tools/wine-run.sh" cmd /c 'echo %TEMP%' | tr -d '\r' | grep -E '^[A-Za-z]:\\' |
    tail -n1) || true
for count in "${rom_counts[@]}"; do
    [[ -n "$wine_temp" ]] || break
    rom_dir=$(winepath -u "$wine_temp\\lumarel-bench-roms-$count" 2>/dev/null) || break
    if [[ ! -d "$rom_dir" || $(find "$rom_dir" -mindepth 1 -maxdepth 1 | wc -l) -ne $count ]]; then
        echo "bench: making $count ROM files in $rom_dir (once)" >&2
        mkdir -p "$rom_dir"
        (cd "$rom_dir" && seq -f 'Game %06g.smc' 1 "$count" | xargs -d '\n' touch)
    fi
done

echo "bench: $runs runs of each, interleaved; medians" >&2
# Lumarel, the same-controls floor and the empty-window floor, in that order.
startup=$(harness startup_ms "$build/bench/bench_runner.exe" "$runs" \
    "$(windows_path "$work/lumarel/lumarel.exe")" \
    "$(windows_path "$work/controls/floor_controls.exe")" \
    "$(windows_path "$work/floor/floor_window.exe")")
listing=$(harness listing_ms "$build/bench/bench_listing.exe" "$runs" "${rom_counts[@]}")
# The start-up phases, once a trace harness is built: given RUNS, it prints one
# "trace PHASE MS" line for each phase, shown as they come.
trace=""
if [[ -f "$build/bench/bench_trace.exe" ]]; then
    trace=$(harness trace "$build/bench/bench_trace.exe" "$runs")
fi

# field OUTPUT KEY N: the Nth figure after KEY.
field() { printf '%s\n' "$1" | awk -v key="$2" -v n="$3" '$1 == key { print $(n + 1) }'; }
# listed OUTPUT KEY ROMS N: the Nth figure after KEY on the line of that ROM count.
listed() {
    printf '%s\n' "$1" | awk -v key="$2" -v roms="$3" -v n="$4" \
        '$1 == key && $2 == roms { print $(n + 2) }'
}
startup_l=$(field "$startup" startup_ms 1)
startup_c=$(field "$startup" startup_ms 2)
startup_f=$(field "$startup" startup_ms 3)
peak_l=$(field "$startup" peak_working_set_kib 1)
peak_c=$(field "$startup" peak_working_set_kib 2)
windows_l=$(field "$startup" child_windows 1)
windows_c=$(field "$startup" child_windows 2)
tools_l=$(field "$startup" tooltip_tools 1)
tools_c=$(field "$startup" tooltip_tools 2)
list20_l=$(listed "$listing" listing_ms 20000 1)
list20_b=$(listed "$listing" listing_ms 20000 2)
list100_l=$(listed "$listing" listing_ms 100000 1)
list100_b=$(listed "$listing" listing_ms 100000 2)
roms20=$(listed "$listing" rom_count 20000 1)
roms100=$(listed "$listing" rom_count 100000 1)
size=$(stat -c %s "$build/lumarel.exe")
# Statically linked: no C++ or threading runtime among the DLLs it imports.
linking=static
if x86_64-w64-mingw32-objdump -p "$build/lumarel.exe" |
    grep -qiE 'DLL Name: (libstdc|libgcc|libwinpthread)'; then
    linking="needs runtime DLLs"
fi

# ratio A B; met A B LIMIT ratio|below|at-most
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "-" }'; }
met() {
    awk -v a="$1" -v b="$2" -v limit="$3" -v kind="$4" 'BEGIN {
        if (kind == "ratio") ok = b > 0 && a / b <= limit
        else if (kind == "below") ok = a < limit
        else ok = a <= limit
        print ok ? "yes" : "NO"
    }'
}
mib() { awk -v kib="$1" 'BEGIN { printf "%.1f MiB", kib / 1024 }'; }
signed_mib() { awk -v kib="$1" 'BEGIN { printf "%+.1f MiB", kib / 1024 }'; }
row() { printf '%-34s %11s %11s %9s  %-12s %s\n' "$@"; }

size_met=$(met "$size" 0 1048576 below)
[[ "$linking" == static ]] || size_met=NO
peak_above=$((peak_l - peak_c))

echo
row "measure" "Lumarel" "reference" "compared" "goal" "met"
row "start-up vs same-controls floor" "$startup_l ms" "$startup_c ms" \
    "$(ratio "$startup_l" "$startup_c")" "<= 1.10x" "$(met "$startup_l" "$startup_c" 1.10 ratio)"
row "start-up vs empty-window floor" "$startup_l ms" "$startup_f ms" \
    "$(ratio "$startup_l" "$startup_f")" "(info)" "-"
row "20,000 ROMs: list and count" "$list20_l ms" "$list20_b ms" \
    "$(ratio "$list20_l" "$list20_b")" "<= 1.2x" "$(met "$list20_l" "$list20_b" 1.2 ratio)"
row "100,000 ROMs: list and count" "$list100_l ms" "$list100_b ms" \
    "$(ratio "$list100_l" "$list100_b")" "<= 1.3x" "$(met "$list100_l" "$list100_b" 1.3 ratio)"
row "peak working set vs same controls" "$(mib "$peak_l")" "$(mib "$peak_c")" \
    "$(signed_mib "$peak_above")" "<= +1.5 MiB" "$(met "$peak_above" 0 1536 at-most)"
row "executable size ($linking)" "$((size / 1024)) KiB" "-" "-" "< 1 MiB" "$size_met"
echo
echo "where a listing's time goes (ms; each part timed alone, the rest by difference):"
printf '%-8s %10s %12s %10s %8s\n' "ROMs" "read" "match+sort" "fill list" "rest"
for roms in 20000 100000; do
    read_ms=$(listed "$listing" listing_parts "$roms" 1)
    match_ms=$(listed "$listing" listing_parts "$roms" 2)
    fill_ms=$(listed "$listing" listing_parts "$roms" 3)
    total_ms=$(listed "$listing" listing_ms "$roms" 1)
    rest_ms=$(awk -v t="$total_ms" -v a="$read_ms" -v b="$match_ms" -v c="$fill_ms" \
        'BEGIN { printf "%.1f", t - a - b - c }')
    printf '%-8s %10s %12s %10s %8s\n' "$roms" "$read_ms" "$match_ms" "$fill_ms" "$rest_ms"
done
if [[ -n "$trace" ]]; then
    echo
    echo "start-up trace (ms per phase):"
    printf '%s\n' "$trace" | grep '^trace '
fi
echo
echo "ROM lists after the change: $roms20 entries (20000 expected), $roms100 (100000 expected)."
echo "At idle: Lumarel has $windows_l child windows and $tools_l hover texts," \
    "the same-controls floor $windows_c and $tools_c."
