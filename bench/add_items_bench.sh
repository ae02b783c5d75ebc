#!/usr/bin/env bash
# Runs add_items_bench natively: MergeItems against the literal per-entry text search, merging
# 10,000 new paths into a list of 10,000, and prints the ratio.
#   bench/add_items_bench.sh [BUILD_DIR] [COUNT]
# BUILD_DIR defaults to build/bench-native: the native preset optimised and without sanitizers.
# It is built first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/lib/common.sh"
build="${1:-$root/build/bench-native}"
count="${2:-10000}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

build_target native "$build" add_items_bench -DCMAKE_BUILD_TYPE=Release -DQUELLIN_SANITIZE=OFF \
  >/dev/null
"$build/bench/add_items_bench" "$count"
