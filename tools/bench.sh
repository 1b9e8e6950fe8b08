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
# Settings as someone who saved them has: the same file beside every Lumarel measured.
saved_settings=$'Location of Snes9x: C:\\Emulators\\snes9x.exe\r\nSound: True\r\nStereo Sound: False\r\n'
saved_settings+=$'Sound Rate: 3\r\nJoystick: False\r\nJoystick Type: 0\r\nScreen Resolution: 2\r\n'
saved_settings+=$'Frame Rate: 0\r\nSuperFX: False\r\n16-bit Colour: 1\r\nScale Image to Fit: 0\r\n'
saved_settings+=$'Transparent Effects: 1\r\nTV Mode: 0\r\nRom Forcing: Don\'t Force\r\n'
printf '%s' "$saved_settings" >"$work/lumarel/Lumarel.ini"

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
    figures+='|rom_count|listing_parts|typing_ms|trace|folder_ms'
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
[[ -n "$wine_temp" ]] || { echo "bench: Wine's temp folder is unknown" >&2; exit 1; }
for count in "${rom_counts[@]}"; do
    rom_dir=$(winepath -u "$wine_temp\\lumarel-bench-roms-$count" 2>/dev/null)
    if [[ ! -d "$rom_dir" || $(find "$rom_dir" -mindepth 1 -maxdepth 1 | wc -l) -ne $count ]]; then
        echo "bench: making $count ROM files in $rom_dir (once)" >&2
        mkdir -p "$rom_dir"
        (cd "$rom_dir" && seq -f 'Game %06g.smc' 1 "$count" | xargs -d '\n' touch)
    fi
done

# Folders as people keep them, with Lumarel beside the ROMs: names of about 30 letters in
# four ROM kinds, and a tenth as many save files, which the list leaves out.
start_dirs=()
for count in "${rom_counts[@]}"; do
    start_dir=$(winepath -u "$wine_temp\\lumarel-bench-start-$count" 2>/dev/null)
    saves=$((count / 10))
    if [[ ! -d "$start_dir" || $(find "$start_dir" -mindepth 1 -maxdepth 1 ! -name '*.exe' \
        ! -name 'Lumarel.ini*' | wc -l) -ne $((count + saves)) ]]; then
        echo "bench: making $count ROM and $saves save files in $start_dir (once)" >&2
        rm -rf "$start_dir" && mkdir -p "$start_dir"
        (cd "$start_dir" && awk -v n="$count" -v s="$saves" 'BEGIN {
            split("Mystic Legend|Star Racer|Dragon Quarter|Battle Arena|Pocket Voyage", title, "|")
            split("smc sfc fig zip", kind, " ")
            for (i = 1; i <= n; i++)
                printf "%s %06d (U).%s\n", title[i % 5 + 1], i, kind[i % 4 + 1]
            for (i = 1; i <= s; i++)
                printf "%s %06d (U).srm\n", title[i % 5 + 1], i
        }' | xargs -d '\n' touch)
    fi
    # Lumarel, and the empty window: what Wine's start of any program costs in such a folder.
    cp "$build/lumarel.exe" "$build/bench/floor_window.exe" "$start_dir/"
    printf '%s' "$saved_settings" >"$start_dir/Lumarel.ini"
    start_dirs+=("$start_dir")
done

echo "bench: $runs runs of each, interleaved; medians" >&2
# Lumarel, the same-controls floor, the empty-window floor, then Lumarel and the empty window
# inside the folders of 20,000 and 100,000 ROMs, in that order.
startup=$(harness startup_ms "$build/bench/bench_runner.exe" "$runs" \
    "$(windows_path "$work/lumarel/lumarel.exe")" \
    "$(windows_path "$work/controls/floor_controls.exe")" \
    "$(windows_path "$work/floor/floor_window.exe")" \
    "$(windows_path "${start_dirs[0]}/lumarel.exe")" \
    "$(windows_path "${start_dirs[1]}/lumarel.exe")" \
    "$(windows_path "${start_dirs[0]}/floor_window.exe")" \
    "$(windows_path "${start_dirs[1]}/floor_window.exe")")
listing=$(harness listing_ms "$build/bench/bench_listing.exe" "$runs" "${rom_counts[@]}")
# The start-up phases, in an empty folder and inside the folder of 100,000 ROMs.
trace=$(harness trace "$build/bench/bench_trace.exe" "$runs")
trace_roms=$(harness trace "$build/bench/bench_trace.exe" "$runs" "$(windows_path "${start_dirs[1]}")")

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
startup20=$(field "$startup" startup_ms 4)
startup100=$(field "$startup" startup_ms 5)
folder20=$(field "$startup" folder_ms 4)
folder100=$(field "$startup" folder_ms 5)
floor20=$(field "$startup" startup_ms 6)
floor100=$(field "$startup" startup_ms 7)
peak_l=$(field "$startup" peak_working_set_kib 1)
peak_c=$(field "$startup" peak_working_set_kib 2)
windows_l=$(field "$startup" child_windows 1)
windows_c=$(field "$startup" child_windows 2)
tools_l=$(field "$startup" tooltip_tools 1)
tools_c=$(field "$startup" tooltip_tools 2)
list20_l=$(listed "$listing" listing_ms 20000 1)
list20_b=$(listed "$listing" listing_ms 20000 2)
list20_f=$(listed "$listing" listing_ms 20000 3)
list100_l=$(listed "$listing" listing_ms 100000 1)
list100_b=$(listed "$listing" listing_ms 100000 2)
list100_f=$(listed "$listing" listing_ms 100000 3)
key20=$(listed "$listing" typing_ms 20000 1)
key100=$(listed "$listing" typing_ms 100000 1)
next20=$(listed "$listing" typing_ms 20000 2)
next100=$(listed "$listing" typing_ms 100000 2)
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

beyond() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a - b }'; }
extra20=$(beyond "$startup20" "$startup_l")
extra100=$(beyond "$startup100" "$startup_l")
# What Wine costs any program started in such a folder, and what is then Lumarel's own.
wine20=$(beyond "$floor20" "$startup_f")
wine100=$(beyond "$floor100" "$startup_f")
own20=$(beyond "$extra20" "$wine20")
own100=$(beyond "$extra100" "$wine100")
# What a listing costs beyond reading the directory, per ROM, at 100,000 against 20,000.
read20=$(listed "$listing" listing_parts 20000 1)
read100=$(listed "$listing" listing_parts 100000 1)
per_rom20=$(awk -v t="$list20_l" -v r="$read20" 'BEGIN { printf "%.2f", (t - r) * 1000 / 20000 }')
per_rom100=$(awk -v t="$list100_l" -v r="$read100" 'BEGIN { printf "%.2f", (t - r) * 1000 / 100000 }')

echo
row "measure" "Lumarel" "reference" "compared" "goal" "met"
row "start-up vs same-controls floor" "$startup_l ms" "$startup_c ms" \
    "$(ratio "$startup_l" "$startup_c")" "<= 1.10x" "$(met "$startup_l" "$startup_c" 1.10 ratio)"
row "start-up vs empty-window floor" "$startup_l ms" "$startup_f ms" \
    "$(ratio "$startup_l" "$startup_f")" "(info)" "-"
row "start-up in 20,000 ROMs: beyond" "$extra20 ms" "$folder20 ms" \
    "$(ratio "$extra20" "$folder20")" "<= 1.10x" "$(met "$extra20" "$folder20" 1.10 ratio)"
row "start-up in 100,000 ROMs: beyond" "$extra100 ms" "$folder100 ms" \
    "$(ratio "$extra100" "$folder100")" "<= 1.10x" "$(met "$extra100" "$folder100" 1.10 ratio)"
row "  less Wine's start there (20,000)" "$own20 ms" "$folder20 ms" \
    "$(ratio "$own20" "$folder20")" "(info)" "-"
row "  less Wine's start there (100,000)" "$own100 ms" "$folder100 ms" \
    "$(ratio "$own100" "$folder100")" "(info)" "-"
row "20,000 ROMs: list, count, paint" "$list20_l ms" "$list20_b ms" \
    "$(ratio "$list20_l" "$list20_b")" "<= 1.10x" "$(met "$list20_l" "$list20_b" 1.10 ratio)"
row "100,000 ROMs: list, count, paint" "$list100_l ms" "$list100_b ms" \
    "$(ratio "$list100_l" "$list100_b")" "<= 1.10x" "$(met "$list100_l" "$list100_b" 1.10 ratio)"
row "  against the fastest read found" "$list20_l ms" "$list20_f ms" \
    "$(ratio "$list20_l" "$list20_f")" "(info)" "-"
row "" "$list100_l ms" "$list100_f ms" "$(ratio "$list100_l" "$list100_f")" "(info)" "-"
row "beyond reading, us per ROM" "$per_rom100" "$per_rom20" \
    "$(ratio "$per_rom100" "$per_rom20")" "<= 1.2x" "$(met "$per_rom100" "$per_rom20" 1.2 ratio)"
row "key matching no ROM: 100k vs 20k" "$key100 ms" "$key20 ms" \
    "$(ratio "$key100" "$key20")" "<= 50 ms" "$(met "$key100" 0 50 at-most)"
row "  the next key (names folded once)" "$next100 ms" "$next20 ms" \
    "$(ratio "$next100" "$next20")" "(info)" "-"
row "peak working set vs same controls" "$(mib "$peak_l")" "$(mib "$peak_c")" \
    "$(signed_mib "$peak_above")" "<= +1.5 MiB" "$(met "$peak_above" 0 1536 at-most)"
row "executable size ($linking)" "$((size / 1024)) KiB" "-" "-" "< 1 MiB" "$size_met"
echo
echo "start-up in a folder: Lumarel's start there, less its start in an empty folder ($startup_l ms),"
echo "against the bare enumeration of that folder; starts of $startup20 and $startup100 ms. Under"
echo "Wine any program starts slower in such a folder: the empty window by $wine20 and $wine100 ms"
echo "(Wine's own cost: an empty window pays it as well); the rows below take that away."
echo
echo "where a listing's time goes, inside the real one (ms):"
printf '%-8s %8s %8s %8s %8s   %s\n' "ROMs" "read" "change" "paint" "total" "(match+sort alone)"
for roms in 20000 100000; do
    printf '%-8s %8s %8s %8s %8s   %s\n' "$roms" "$(listed "$listing" listing_parts "$roms" 1)" \
        "$(listed "$listing" listing_parts "$roms" 2)" "$(listed "$listing" listing_parts "$roms" 3)" \
        "$(listed "$listing" listing_ms "$roms" 1)" "$(listed "$listing" listing_parts "$roms" 4)"
done
echo
echo "start-up trace (ms per phase), in an empty folder and in 100,000 ROMs:"
paste <(printf '%s\n' "$trace" | grep '^trace ') <(printf '%s\n' "$trace_roms" | grep '^trace ' |
    awk '{ print $NF }') | awk '{ last = $NF; $NF = ""; printf "%-40s %8s\n", $0, last }'
echo
echo "ROM lists after the change: $roms20 entries (20000 expected), $roms100 (100000 expected)."
echo "At idle: Lumarel has $windows_l child windows and $tools_l hover texts," \
    "the same-controls floor $windows_c and $tools_c."
