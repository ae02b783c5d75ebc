#!/usr/bin/env bash
# Runs progress_poll_bench under Wine: the share of a batch's wait spent reading ret.txt for the
# run's progress, and how soon the wait returns after the batch ends, polled and plain.
#   bench/progress_poll_bench.sh [BUILD_DIR] [FILMS] [ROUNDS] [STAND_IN_MS]
# BUILD_DIR is a win64 build folder (default build/win64); it is built first. Its own Wine prefix
# is used (made fresh when missing) and its server is stopped at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/lib/wine.sh"
source "$root/scripts/lib/win64_bench.sh"

build="${1:-$root/build/win64}"
films="${2:-20}"
rounds="${3:-5}"
stand_in_ms="${4:-100}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

trap wine_stop EXIT
win64_bench_ready "$build" progress_poll_bench
# Output to a file, not a pipe: Wine's helper processes would hold a pipe open.
out="$(mktemp)"
status=0
"$QUELLIN_WINE64" "$build/bench/progress_poll_bench.exe" "$films" "$rounds" "$stand_in_ms" \
  >"$out" 2>&1 </dev/null || status=$?
cat "$out"
rm -f "$out"
exit "$status"
