#!/usr/bin/env bash
# Runs shell_wait_bench under Wine: how soon ShellWait returns after 100 short processes end,
# against the 100 ms exit-code poll in the same run.
#   bench/shell_wait_bench.sh [BUILD_DIR] [COUNT] [COMMAND LINE]
# BUILD_DIR is a win64 build folder (default build/win64); it is built first. Its own Wine prefix
# is used (made fresh when missing) and its server is stopped at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/lib/wine.sh"

build="${1:-$root/build/win64}"
count="${2:-100}"
command="${3:-cmd.exe /c exit}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

if [ ! -f "$build/build.ninja" ]; then
  cmake --preset win64 -S "$root" -B "$build" >/dev/null
fi
cmake --build "$build" -j2 --target shell_wait_bench

prefix="$build/wineprefix"
trap wine_stop EXIT
if [ -f "$prefix/system.reg" ]; then
  wine_env "$prefix"
  wine_server_warm
else
  wine_prefix_fresh "$prefix" null
fi
# Output to a file, not a pipe: Wine's helper processes would hold a pipe open.
out="$(mktemp)"
status=0
"$QUELLIN_WINE64" "$build/bench/shell_wait_bench.exe" "$count" "$command" >"$out" 2>&1 </dev/null ||
  status=$?
cat "$out"
rm -f "$out"
exit "$status"
