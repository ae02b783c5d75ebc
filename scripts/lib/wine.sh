# Shell functions for running the Windows build under Wine in a private prefix.
# Source this file; it defines no global state beyond the exported Wine variables.
#
# Wine traps worth knowing (all seen on this kind of machine):
# - /usr/bin/wine picks the 32-bit loader when wine32 is installed: call wine64 directly.
# - The first Wine process of a server session must not have a pipe on stdout or stderr: the
#   helper processes it starts inherit the pipe and hold it open (ctest slows to 3 s a test, or a
#   reader hangs for good).
# - The graphics driver is chosen when the server session starts: kill the server after switching.

# The i686 build's wrapper (build/win32/wine-run.sh) sets both to the i386 root's 32-bit Wine.
QUELLIN_WINE64="${QUELLIN_WINE_LOADER:-/usr/lib/wine/wine64}"
QUELLIN_WINESERVER="${QUELLIN_WINE_SERVER:-/usr/lib/wine/wineserver}"

# wine_env PREFIX: exports the variables every Wine call of ours uses.
wine_env() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  # No Mono or Gecko install dialogs on first start.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Code page 936, as on our users' machines (needs the generated zh_CN.UTF-8 locale).
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
}

# wine_quiet ARGS...: runs wine64 with every standard stream away from pipes.
wine_quiet() {
  "$QUELLIN_WINE64" "$@" </dev/null >/dev/null 2>&1
}

# wine_prefix_fresh PREFIX DRIVER: makes a new prefix (DRIVER: null for headless tests, x11 for
# Xvfb screenshots) and leaves a warm persistent server running in it.
wine_prefix_fresh() {
  local prefix="$1" driver="$2"
  wine_env "$prefix"
  "$QUELLIN_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  rm -rf "$prefix"
  mkdir -p "$prefix"
  timeout 300 "$QUELLIN_WINE64" wineboot -u </dev/null >/dev/null 2>&1 || true
  timeout 120 "$QUELLIN_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
  wine_set_driver "$driver"
}

# wine_set_driver null|x11: selects the graphics driver and restarts the server session warm.
wine_set_driver() {
  if [ "$1" = null ]; then
    wine_quiet reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
  else
    wine_quiet reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f || true
  fi
  "$QUELLIN_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  timeout 60 "$QUELLIN_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
  wine_server_warm
}

# wine_server_warm: a persistent server plus the helper processes, started off any pipe.
wine_server_warm() {
  "$QUELLIN_WINESERVER" -p </dev/null >/dev/null 2>&1 || true
  timeout 60 "$QUELLIN_WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# wine_stop: ends every Wine process of the current prefix.
wine_stop() {
  [ -n "${WINEPREFIX:-}" ] && "$QUELLIN_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
}

# wine_prefix_ready PREFIX: reuses a prepared prefix with a warm server, or makes it fresh (null
# graphics driver) when it has never been prepared.
wine_prefix_ready() {
  if [ -f "$1/system.reg" ]; then
    wine_env "$1"
    wine_server_warm
  else
    wine_prefix_fresh "$1" null
  fi
}

# wine_run_captured ARGS...: runs wine64 with its output going through a file (Wine's helper
# processes would hold a pipe open), prints that output and returns wine's status.
wine_run_captured() {
  local out status=0
  out="$(mktemp)"
  "$QUELLIN_WINE64" "$@" >"$out" 2>&1 </dev/null || status=$?
  cat "$out"
  rm -f "$out"
  return "$status"
}
