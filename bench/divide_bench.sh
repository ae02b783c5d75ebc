#!/usr/bin/env bash
# Dividing a 4 MiB payload container with DivideFile against reading the same file once in
# 600-byte blocks (target: at most 2x), and against the old whole-buffer rescan, under Wine.
#   bench/divide_bench.sh [BUILD_DIR] [MIB]     defaults: build/win64, 4
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/lib/wine.sh"
build="$(realpath -m "${1:-$root/build/win64}")"
[ -f "$build/build.ninja" ] || cmake --preset win64 -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target divide_bench

trap wine_stop EXIT
if [ -f "$build/wineprefix/system.reg" ]; then
  wine_env "$build/wineprefix" && wine_server_warm
else
  wine_prefix_fresh "$build/wineprefix" null
fi
# Through a file: the first Wine process of a session must not write into a pipe.
report="$build/divide_bench.txt"
status=0
"$QUELLIN_WINE64" "$build/bench/divide_bench.exe" "${2:-4}" >"$report" 2>&1 </dev/null || status=$?
cat "$report"
exit "$status"
