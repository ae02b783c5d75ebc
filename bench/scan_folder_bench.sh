#!/usr/bin/env bash
# Runs scan_folder_bench under Wine: ScanFolder over a tree of 100,000 files against a bare
# FindFirstFileW/FindNextFileW walk of the same tree in the same run, and prints the ratio.
#   bench/scan_folder_bench.sh [BUILD_DIR] [ROUNDS]
# BUILD_DIR is a win64 build folder (default build/win64); it is built first. Its own Wine prefix
# is used (made fresh when missing) and its server is stopped at the end. The tree (10 folders of
# 10 subfolders of 1000 files, half of them .rm) is made once in BUILD_DIR/scan-bench-tree and
# kept for the next run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/lib/common.sh"
source "$root/scripts/lib/wine.sh"

build="${1:-$root/build/win64}"
rounds="${2:-5}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

build_target win64 "$build" scan_folder_bench

tree="$build/scan-bench-tree"
if [ ! -f "$tree/.complete" ]; then
  rm -rf "$tree"
  for top in $(seq -w 0 9); do
    for sub in $(seq -w 0 9); do
      mkdir -p "$tree/top$top/sub$sub"
      (cd "$tree/top$top/sub$sub" && touch clip{000..499}.rm note{000..499}.txt)
    done
  done
  touch "$tree/.complete"
fi

trap wine_stop EXIT
wine_prefix_ready "$build/wineprefix"
# Wine's Z: drive is the Linux root.
wine_run_captured "$build/bench/scan_folder_bench.exe" "Z:$(printf %s "$tree" | tr / '\\')" \
  '*.rm' "$rounds"
