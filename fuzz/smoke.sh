#!/bin/sh
# CI's fuzz run: builds the fuzz preset, replays every kept reproducer in
# fuzz/regressions and every file of the shared corpus (both modes), then
# fuzzes for a while from fuzz/corpus. A crash, a
# sanitizer report or a failed check fails the run; the input is left in
# build/fuzz-artifacts.        sh fuzz/smoke.sh [seconds]   (default 60)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top" && cmake --preset fuzz >/dev/null && cmake --build --preset fuzz
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
mkdir -p build/fuzz-artifacts
fuzz="$top/build/fuzz/fuzz/fuzz_favlink -close_fd_mask=3 -timeout=10 -max_len=8192 -artifact_prefix=$top/build/fuzz-artifacts/"
$fuzz "$top"/fuzz/regressions/* "$top"/../shared/corpus/bookmarks/* "$top"/../shared/corpus/url/* "$top"/../shared/corpus/json/* >"$work/log" 2>&1 || { tail -40 "$work/log"; exit 1; }
$fuzz -dict="$top/fuzz/html.dict" -max_total_time="${1:-60}" "$work" "$top/fuzz/corpus" >"$work/log" 2>&1 ||
  { tail -60 "$work/log"; exit 1; }
grep -E '^#[0-9]+.*DONE' "$work/log"
