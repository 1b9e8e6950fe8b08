#!/usr/bin/env bash
# Saves a screenshot of the X display once two captures in a row agree, that is once the
# windows on it have finished painting (at most about 6 s). Usage: settled-screenshot.sh OUT.png
set -euo pipefail
out=$1
previous=""
for _ in $(seq 30); do
    import -window root "$out.tmp.png" 2>/dev/null
    sum=$(md5sum <"$out.tmp.png")
    [[ "$sum" == "$previous" ]] && break
    previous=$sum
    sleep 0.2
done
mv "$out.tmp.png" "$out"
