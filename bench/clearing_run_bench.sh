#!/usr/bin/env bash
# The event-clearing run against the tool alone, under Wine: for a list of films (default 20),
# the time from the click (ClearEvents) and from Quellin's one-shot start to the last replacement,
# against rmevents run once per film on the same files, printed as ratios; and the films started
# as a selection (one Quellin per film, all at once) against one start with all of them.
#   bench/clearing_run_bench.sh [BUILD_DIR] [FILMS] [ROUNDS] [SECONDS]
# BUILD_DIR is a win64 build folder (default build/win64); it is built first. Its own Wine prefix
# is used (made fresh when missing) and its server is stopped at the end. The film (a SECONDS-long
# RV20 + AC-3 clip with URL events, default 60 s, about 2.4 MB) is made once in BUILD_DIR/bench.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/lib/wine.sh"
source "$root/scripts/lib/demo_film.sh"
source "$root/scripts/lib/win64_bench.sh"

build="${1:-$root/build/win64}"
films="${2:-20}"
rounds="${3:-5}"
seconds="${4:-60}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

trap wine_stop EXIT
win64_bench_ready "$build" clearing_run_bench rmevents pack_Quellin

tool="$build/tools/rmevents/rmevents.exe"
film="$build/bench/clearing_run_film_${seconds}s.rm"
if [ ! -f "$film" ]; then
  make_demo_film "$film" "$tool" "$seconds"
fi

out="$(mktemp)"
status=0
"$QUELLIN_WINE64" "$build/bench/clearing_run_bench.exe" "$(z_path "$film")" "$(z_path "$tool")" \
  "$(z_path "$build/src/app/Quellin.exe")" "$films" "$rounds" >"$out" 2>&1 </dev/null || status=$?
cat "$out"
rm -f "$out"
exit "$status"
