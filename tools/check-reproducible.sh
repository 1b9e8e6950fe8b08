#!/usr/bin/env bash
# Builds lumarel.exe a second time, from a copy of these sources in another folder, packs
# both builds and compares them: the same sources must give the same bytes wherever they are
# built. Prints the SHA-256 of each build's lumarel.exe and zip; fails when they differ.
#
#   tools/check-reproducible.sh [BUILD_DIR]    the first build, made already (build/mingw)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
first=$(cd "${1:-$repo/build/mingw}" && pwd)
say() { printf 'reproducible: %s\n' "$*" >&2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lumarel-again.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Another folder, at another depth, than the first build's.
second=$work/elsewhere/lumarel
mkdir -p "$second"

# The sources as they are now, committed or not; nothing the build or git ignores (outside a
# git checkout, everything but build/).
if git -C "$repo" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$repo" ls-files -z --cached --others --exclude-standard |
        tar -C "$repo" --null --files-from=- --ignore-failed-read -cf - 2>/dev/null |
        tar -C "$second" -xf -
else
    tar -C "$repo" --exclude=./build -cf - . | tar -C "$second" -xf -
fi

# Both packed with the same time, the last commit's.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$repo" log -1 --format=%ct 2>/dev/null || echo 315532800)}
export SOURCE_DATE_EPOCH

say "building again in $second"
(cd "$second" && cmake --preset mingw -DBUILD_TESTING=OFF >/dev/null &&
    cmake --build --preset mingw --target lumarel >/dev/null)

status=0
for build in "$first" "$second/build/mingw"; do
    "$repo/tools/dist.py" "$build/lumarel.exe" "$repo/README.md" "$repo/LICENSE" \
        "$build/lumarel-1.5.zip" >/dev/null
done
for file in lumarel.exe lumarel-1.5.zip; do
    one=$(sha256sum <"$first/$file" | cut -d' ' -f1)
    two=$(sha256sum <"$second/build/mingw/$file" | cut -d' ' -f1)
    if [[ "$one" == "$two" ]]; then
        say "$file  $one  the same in both builds"
    else
        say "$file differs: $one here, $two in the second build"
        cmp "$first/$file" "$second/build/mingw/$file" | head -n1 >&2 || true
        status=1
    fi
done
exit "$status"
