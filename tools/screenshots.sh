#!/usr/bin/env bash
# Renders each of Lumarel's windows to a PNG under docs/screenshots, at 96 and 144 dpi,
# on an Xvfb display of its own. Usage: tools/screenshots.sh [OUT_DIR]
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$repo/docs/screenshots}
exe=$repo/build/mingw/lumarel.exe
mkdir -p "$out"

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

# The screen once it has settled, trimmed to the windows on it.
capture() {
    local file=$1
    "$repo/tools/settled-screenshot.sh" "$file.full.png"
    convert "$file.full.png" -trim +repage "$file"
    rm -f "$file.full.png"
}

shoot() {
    local dpi=$1 suffix=$2
    export LUMAREL_WINEPREFIX=$repo/build/wineprefix-$dpi
    "$repo/tools/wine-run.sh" --session true
    WINEPREFIX=$LUMAREL_WINEPREFIX WINEDEBUG=-all wine reg add 'HKCU\Control Panel\Desktop' \
        /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    WINEPREFIX=$LUMAREL_WINEPREFIX wineserver -w

    # Each secondary window: the keys that open it from the main window.
    local -a names=(main location cheats keyboard about)
    local -a keys=("" "alt+o l" "alt+o g" "alt+h k" "alt+h a")
    local -a captions=("Lumarel v1.5" "Location of Snes9x" "Game Genie Codes"
                       "Snes9x Keyboard Reference" "About Lumarel")
    for i in "${!names[@]}"; do
        "$repo/tools/wine-run.sh" "$exe" >/dev/null 2>&1 &
        local runner=$!
        local main
        main=$(window_id "Lumarel v1.5")
        if [[ -n "${keys[$i]}" ]]; then
            # Keys go to the focused window: wait until Wine has given it the focus.
            for _ in $(seq 50); do
                [[ $(xdotool getwindowfocus 2>/dev/null) == $((main)) ]] && break
                sleep 0.1
            done
            for key in ${keys[$i]}; do
                xdotool key "$key"
                sleep 0.3  # the menu opens asynchronously; the next key must find it open
            done
            window_id "${captions[$i]}" >/dev/null
        fi
        capture "$out/${names[$i]}$suffix.png"
        say "wrote $out/${names[$i]}$suffix.png"
        WINEPREFIX=$LUMAREL_WINEPREFIX wineserver -k || true
        wait "$runner" 2>/dev/null || true
    done
}

if [[ -z "${DISPLAY:-}" ]]; then
    exec "$repo/tools/wine-run.sh" --session "$0" "$@"
fi
shoot 96 ""
shoot 144 "-144dpi"
