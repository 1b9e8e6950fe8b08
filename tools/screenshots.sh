#!/usr/bin/env bash
# Renders each of Lumarel's windows to a PNG under docs/screenshots, at 96, 144 and 192 dpi
# and in a high-contrast colour scheme, on an Xvfb display of its own; Lumarel runs in the
# demonstration folder of `make run`, and one more picture shows the demonstration emulator
# after a run. Usage: tools/screenshots.sh [OUT_DIR]
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build/mingw

say() { printf 'screenshots: %s\n' "$*" >&2; }

# Waits (bounded) until a top-level X window with this exact name exists; prints its id.
window_id() {
    local name=$1
    for _ in $(seq 100); do
        local id
        id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$name\":" | awk '{ print $1; exit }')
        if [[ -n "$id" ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    say "no window \"$name\" appeared"
    return 1
}

# Keys go to the focused window: waits until Wine has given it the focus, then presses them,
# leaving a menu that opens asynchronously the time to open before the next key.
press() {
    local window=$1
    shift
    for _ in $(seq 50); do
        [[ $(xdotool getwindowfocus 2>/dev/null) == $((window)) ]] && break
        sleep 0.1
    done
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.3
    done
}

# The screen once it has settled, trimmed to the windows on it.
capture() {
    local file=$1
    "$repo/tools/settled-screenshot.sh" "$file.full.png"
    convert "$file.full.png" -trim +repage "$file"
    rm -f "$file.full.png"
}

# From the run button, the first ROM of the list: Tab reaches the list, Home selects it.
to_first_rom=(Tab Tab Tab Tab Tab Tab Tab Home)
back_to_run=(shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab)

# shoot OUT_DIR NAME DPI SUFFIX [REGISTRY_FILE]: every window in a prefix of its own, set to
# the dpi and, when given, to the registry file's colours.
shoot() {
    local out=$1 name=$2 dpi=$3 suffix=$4 settings=${5:-}
    export LUMAREL_WINEPREFIX=$repo/build/wineprefix-$name
    "$repo/tools/wine-run.sh" --session true
    WINEPREFIX=$LUMAREL_WINEPREFIX WINEDEBUG=-all wine reg add 'HKCU\Control Panel\Desktop' \
        /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    if [[ -n "$settings" ]]; then
        # Linux's root is Wine's drive Z:.
        WINEPREFIX=$LUMAREL_WINEPREFIX WINEDEBUG=-all wine reg import "Z:${settings//\//\\}" \
            >/dev/null 2>&1
    fi
    WINEPREFIX=$LUMAREL_WINEPREFIX wineserver -w
    # The demonstration folder where a Windows user would keep it, with its sample ROMs.
    local demo=$LUMAREL_WINEPREFIX/drive_c/Games/Lumarel
    "$repo/tools/demo.sh" "$build" "$demo" 'C:\Games\Lumarel' >/dev/null

    # Each window: the keys that open it from the main window.
    local -a names=(main location cheats keyboard about demo)
    local -a keys=("${to_first_rom[*]}" "alt+o l" "alt+o g" "alt+h k" "alt+h a"
                   "${to_first_rom[*]} ${back_to_run[*]} space")
    local -a captions=("Lumarel v1.5" "Location of Snes9x" "Game Genie Codes"
                       "Snes9x Keyboard Reference" "About Lumarel"
                       "Snes9x - Lumarel's demonstration")
    for i in "${!names[@]}"; do
        "$repo/tools/wine-run.sh" "$demo/lumarel.exe" >/dev/null 2>&1 &
        local runner=$!
        local main shown
        main=$(window_id "Lumarel v1.5")
        # shellcheck disable=SC2086  # the keys are words
        press "$main" ${keys[$i]}
        shown=$(window_id "${captions[$i]}")
        if [[ ${names[$i]} == demo ]]; then
            # The emulator is a program of its own: its window alone.
            "$repo/tools/settled-screenshot.sh" "$out/demo$suffix.full.png"
            local geometry
            geometry=$(xwininfo -id "$shown" | awk '/Absolute upper-left X/ { x = $4 }
                /Absolute upper-left Y/ { y = $4 } /Width/ { w = $2 } /Height/ { h = $2 }
                END { printf "%dx%d+%d+%d", w, h, x, y }')
            convert "$out/demo$suffix.full.png" -crop "$geometry" +repage "$out/demo$suffix.png"
            rm -f "$out/demo$suffix.full.png"
        else
            capture "$out/${names[$i]}$suffix.png"
        fi
        say "wrote $out/${names[$i]}$suffix.png"
        WINEPREFIX=$LUMAREL_WINEPREFIX wineserver -k || true
        wait "$runner" 2>/dev/null || true
    done
}

if [[ "${1:-}" == --shoot ]]; then
    shift
    shoot "$@"
    exit
fi

# A variant on a display of its own, as large as a laptop's screen at that scale, so that a
# window the system places itself sits beside the main window as it would there.
variant() {
    local screen=$1
    shift
    if [[ -n "${DISPLAY:-}" ]]; then
        shoot "$out" "$@"
    else
        LUMAREL_SCREEN=$screen "$repo/tools/wine-run.sh" --session "$0" --shoot "$out" "$@"
    fi
}

out=${1:-$repo/docs/screenshots}
mkdir -p "$out"
variant 1280x1024 96 96 ""
variant 1920x1200 144 144 -144dpi
variant 2560x1600 192 192 -192dpi
# For checking by eye; the README shows Lumarel as most people see it.
variant 1280x1024 high-contrast 96 -high-contrast "$repo/tools/high-contrast.reg"
