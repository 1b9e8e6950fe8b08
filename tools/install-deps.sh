#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Lumarel need.
# As root it installs what is missing; otherwise it prints the one apt-get line to run.
set -euo pipefail

packages=(
    cmake ninja-build make g++ clang lld libclang-rt-dev python3
    g++-mingw-w64-x86-64-posix mingw-w64-tools
    wine wine64 fonts-wine fonts-liberation
    xvfb x11-utils xdotool imagemagick
    googletest
    fuse3 python3-fusepy
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
    echo "Lumarel needs these Debian packages; please run:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
