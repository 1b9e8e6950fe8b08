#!/usr/bin/env bash
# make soak: the long soak of one Lumarel (directory changes, runs, windows), then the share
# soak over the slow share (tools/slow-share.sh), which is unmounted again however it ends.
# Runs inside tools/wine-run.sh --session, which names the share's mount point drive N:.
set -euo pipefail
build=$1
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
share=$repo/build/slow-share
trap '"$repo/tools/slow-share.sh" stop "$share"' EXIT
wine "$build/tests/e2e_tests.exe" --gtest_filter='SoakTest.*'
"$repo/tools/slow-share.sh" start "$share"
wine "$build/tests/slow_share_tests.exe" --gtest_filter='SlowShareTest.ThreadsHandles*'
"$repo/tools/slow-share.sh" report "$share"
