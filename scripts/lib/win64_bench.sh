# For benchmark scripts that run Windows programs under Wine. Source after wine.sh.

# win64_bench_ready BUILD TARGET...: configures BUILD (a win64 build folder) once, builds TARGETs,
# and readies BUILD's own Wine prefix (made fresh when missing) with a warm server. The caller
# stops the server with wine_stop.
win64_bench_ready() {
  local build="$1" root
  shift
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
  if [ ! -f "$build/build.ninja" ]; then
    cmake --preset win64 -S "$root" -B "$build" >/dev/null
  fi
  cmake --build "$build" -j2 --target "$@"
  if [ -f "$build/wineprefix/system.reg" ]; then
    wine_env "$build/wineprefix"
    wine_server_warm
  else
    wine_prefix_fresh "$build/wineprefix" null
  fi
}
