#!/usr/bin/env bash
# The slow share of the tests: a file system that answers as slowly as a file says, mounted on
# the fixed mount point that the test run's Wine prefix names as drive N: (tools/wine-run.sh
# makes the link before the run's wineserver starts).
#
#   slow-share.sh start DIR    mount DIR/mnt over DIR/files, each listing (and look-up of its
#                              root) waiting as DIR/seconds says (slow-share.py); DIR/status
#                              then says "mounted" or why not
#   slow-share.sh stop DIR     unmount it (safe to run at any time)
#   slow-share.sh report DIR   say why the slow-share tests were skipped, when they were
#
# FUSE mounts need root and /dev/fuse here; without them the tests are skipped with the reason.
set -euo pipefail

action=${1:-}
dir=${2:-}
[[ -n "$action" && -n "$dir" ]] || { echo "usage: slow-share.sh start|stop|report DIR" >&2; exit 2; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mount_point=$dir/mnt

stop() {
    echo 0 >"$dir/seconds" 2>/dev/null || true
    if mountpoint -q "$mount_point" 2>/dev/null; then
        fusermount3 -u "$mount_point" 2>/dev/null || umount -l "$mount_point" 2>/dev/null || true
    fi
    if [[ -f "$dir/pid" ]]; then
        kill "$(cat "$dir/pid")" 2>/dev/null || true
        rm -f "$dir/pid"
    fi
}

skip() {
    echo "skipped: $*" >"$dir/status"
    echo "slow share: skipped: $*"
    exit 0
}

case "$action" in
    start)
        mkdir -p "$dir/files" "$mount_point"
        stop
        [[ $(id -u) -eq 0 ]] || skip "FUSE mounts need root on this machine"
        [[ -e /dev/fuse ]] || skip "there is no /dev/fuse"
        /usr/bin/python3 -c 'import fusepy' 2>/dev/null ||
            skip "Debian's python3-fusepy is not installed"
        # Its output goes to a file: a pipe it held would keep CTest waiting.
        /usr/bin/python3 "$here/slow-share.py" "$dir/files" "$mount_point" "$dir/seconds" \
            >"$dir/log" 2>&1 </dev/null &
        echo $! >"$dir/pid"
        for _ in $(seq 100); do
            mountpoint -q "$mount_point" && break
            kill -0 "$(cat "$dir/pid")" 2>/dev/null || break
            sleep 0.1
        done
        mountpoint -q "$mount_point" || skip "the mount did not take: $(tail -n 3 "$dir/log" | tr '\n' ' ')"
        echo mounted >"$dir/status"
        ;;
    stop)
        stop
        ;;
    report)
        if [[ -f "$dir/status" && "$(cat "$dir/status")" == skipped* ]]; then
            echo "The slow-share tests were $(cat "$dir/status")"
        fi
        ;;
    *)
        echo "usage: slow-share.sh start|stop|report DIR" >&2
        exit 2
        ;;
esac
