#!/usr/bin/env bash
# Runs Lumarel's Windows programs under Wine, in a Wine prefix of the project's own.
#
#   wine-run.sh PROGRAM.exe [ARGS...]   run one Windows program (CTest's emulator uses this)
#   wine-run.sh --session COMMAND...    run a Linux command (ctest) with Wine made ready once,
#                                       and drive N: for the slow share of the tests
#   wine-run.sh --show PROGRAM.exe      make run: show Lumarel; without a display, take a
#                                       screenshot of it on a virtual one and say where
#
# Without DISPLAY an Xvfb server of our own is started, and stopped when the run ends; its
# screen is LUMAREL_SCREEN pixels (1280x1024 unless set).
# The prefix lives under the build directory (never ~/.wine) and is booted once.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${LUMAREL_WINEPREFIX:-$repo/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install dialogs: Lumarel needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
owns_wineserver=0
slow_share_link=""

say() { printf 'wine-run: %s\n' "$*" >&2; }

cleanup() {
    if [[ $owns_wineserver -eq 1 ]]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [[ -n "$slow_share_link" ]]; then
        rm -f "$slow_share_link"
    fi
    if [[ -n "$xvfb_pid" ]]; then
        kill "$xvfb_pid" >/dev/null 2>&1 || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_display() {
    [[ -n "${DISPLAY:-}" ]] && return 0
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${LUMAREL_SCREEN:-1280x1024}x24" -nolisten tcp \
        3>"$number_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s "$number_file" ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || { say "Xvfb did not start"; exit 1; }
        sleep 0.1
    done
    [[ -s "$number_file" ]] || { say "Xvfb gave no display within 10 s"; exit 1; }
    export DISPLAY=":$(head -n1 "$number_file")"
    rm -f "$number_file"
}

# A fresh prefix takes seconds to boot and keeps updating itself afterwards: do it once,
# under a lock, and wait for it to settle so that no test's start pays for it.
boot_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    # The marker names the prefix's setup; a changed setup prepares the prefix anew.
    local ready="$WINEPREFIX/.lumarel-ready-2"
    if [[ ! -f "$ready" ]]; then
        say "preparing the Wine prefix $WINEPREFIX (once)"
        wineboot -i >/dev/null 2>&1
        wineserver -w
        # Unmanaged windows: without a window manager Wine otherwise waits seconds
        # whenever a top-level window hides.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        # Debian's Wine does not find its own fonts (Tahoma, MS Sans Serif) where it
        # installs them; from the prefix's font folder it does.
        cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon \
            "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        # Courier New, as Windows has it, is not on Linux; its metric twin stands in.
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' \
            /d 'Liberation Mono' /f >/dev/null 2>&1
        wineserver -w
        touch "$ready"
    fi
    flock -u 9
}

# One persistent wineserver for the whole run makes each program start in a fraction of
# a second. Its output goes nowhere: it would hold the caller's pipe open.
keep_wineserver() {
    if ! wineserver -p 2>/dev/null >/dev/null </dev/null; then
        return 0
    fi
    owns_wineserver=1
}

# A test run's drive N: is the slow share's fixed mount point (tools/slow-share.sh mounts and
# unmounts it there). Wine learns its drives when its services start with the run's
# wineserver, so the link comes first; it goes again when the run ends.
link_slow_share() {
    local mount_point=$repo/build/slow-share/mnt
    mkdir -p "$mount_point"
    slow_share_link=$WINEPREFIX/dosdevices/n:
    ln -sfn "$mount_point" "$slow_share_link"
}

prepare() {
    if [[ "${LUMAREL_WINE_READY:-}" == "$WINEPREFIX" && -n "${DISPLAY:-}" ]]; then
        return 0
    fi
    start_display
    boot_prefix
    if [[ "${1:-}" == "--with-slow-share" ]]; then
        link_slow_share
    fi
    keep_wineserver
    export LUMAREL_WINE_READY=$WINEPREFIX
}

show() {
    local program=$1
    if [[ -n "${DISPLAY:-}" ]]; then
        prepare
        wine "$program"
        return
    fi
    prepare
    local shot=$repo/build/screenshot.png
    wine "$program" &
    local pid=$!
    local caption="Lumarel v1.5"
    for _ in $(seq 300); do
        xwininfo -root -tree 2>/dev/null | grep -q "\"$caption" && break
        kill -0 "$pid" 2>/dev/null || { say "Lumarel ended before its window showed"; exit 1; }
        sleep 0.1
    done
    "$repo/tools/settled-screenshot.sh" "$shot"
    say "no display is set: Lumarel ran on a virtual display; its screenshot is $shot"
}

case "${1:-}" in
    --session)
        shift
        prepare --with-slow-share
        "$@"
        ;;
    --show)
        shift
        show "$@"
        ;;
    "")
        say "usage: wine-run.sh PROGRAM.exe [ARGS...] | --session COMMAND... | --show PROGRAM.exe"
        exit 2
        ;;
    *)
        prepare
        # Wine may start helper processes (the desktop, services) that live on and inherit
        # our output; a pipe that the caller reads would then never close. They inherit a
        # file instead, which is shown once the program has ended.
        output=$(mktemp)
        status=0
        wine "$@" >"$output" 2>&1 </dev/null || status=$?
        cat "$output"
        rm -f "$output"
        # A program that failed without a word would leave the log empty: say how it ended.
        [[ $status -eq 0 ]] || say "$(basename "$1") ended with status $status"
        exit "$status"
        ;;
esac
