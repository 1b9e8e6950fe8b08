#!/usr/bin/env bash
# Prepares the folder `make run` starts Lumarel in, so that a first run shows the whole road:
# Lumarel, sample ROM files of several kinds, the project's demonstration emulator as
# Snes9x\snes9x.exe with a readme.txt beside it, and a Lumarel.ini that points at it.
#
#   tools/demo.sh BUILD_DIR DEMO_DIR [DEMO_DIR_FOR_WINDOWS]
#
# The last is DEMO_DIR as Windows names it (C:\Games\Lumarel for a folder in the prefix's
# drive_c); by default Linux's root is Wine's drive Z:.
#
# The programs and the readme are renewed every time; the ROMs and Lumarel.ini only when they
# are missing, so that settings saved there (a real Snes9x chosen, say) stay.
set -euo pipefail

build=$1
demo=$2
mkdir -p "$demo/Snes9x"
demo=$(cd "$demo" && pwd)
windows_demo=${3:-Z:${demo//\//\\}}
cp "$build/lumarel.exe" "$demo/lumarel.exe"
cp "$build/demo-emulator/snes9x.exe" "$demo/Snes9x/snes9x.exe"

# Sparse files of 0.5 to 4 MB: a click on one shows a size, and they take no room on the disk.
# Invented titles; the files hold nothing but zeros.
roms=(
    "Cloud Kingdom.smc:2097664"
    "Star Garden.sfc:1572864"
    "Puzzle Rain.swc:524800"
    "River Racer.fig:3145728"
    "Tiny Tanks.058:1048576"
    "Lantern Night.1:786432"
    "Harbor Heroes.zip:4194304"
)
for rom in "${roms[@]}"; do
    name=${rom%:*}
    [[ -e "$demo/$name" ]] || truncate -s "${rom##*:}" "$demo/$name"
done

crlf() { sed 's/$/\r/'; }

crlf >"$demo/Snes9x/readme.txt" <<'TEXT'
Lumarel's demonstration emulator
================================

This snes9x.exe is not Snes9x: it comes with Lumarel's source, and `make run` puts it here in
Snes9x's place. Pick a ROM in Lumarel and press the run button: this program opens a window
that shows the command line Lumarel built, each argument with what it names.

To start real games, point Lumarel at the real Snes9x: Options > File Locations, find its
snes9x.exe and press Close, then Options > Save Settings. The next `make run` keeps that.
The sample ROM files beside lumarel.exe hold nothing but zeros.
TEXT

if [[ ! -e "$demo/Lumarel.ini" ]]; then
    location="$windows_demo\\Snes9x\\snes9x.exe"
    {
        # A folder name beyond ASCII goes as UTF-8 with its mark, which Lumarel reads back
        # exactly whatever the ANSI code page.
        if LC_ALL=C grep -q '[^ -~]' <<<"$location"; then
            printf '\xef\xbb\xbf'
        fi
        printf 'Location of Snes9x: %s\r\n' "$location"
    } >"$demo/Lumarel.ini"
fi
echo "demo: $demo"
