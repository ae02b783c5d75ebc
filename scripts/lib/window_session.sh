# Shared by scripts/run and scripts/screenshot: Quellin's own Wine prefix for interactive runs
# (build/win64/run-prefix, x11 graphics driver), Xvfb sessions and pictures of the main window.
# Source after common.sh and wine.sh.

QUELLIN_RUN_PREFIX="$QUELLIN_ROOT/build/win64/run-prefix"
QUELLIN_EXE="$QUELLIN_ROOT/build/win64/src/app/Quellin.exe"
QUELLIN_DRIVER="$QUELLIN_ROOT/build/win64/tests/gui/gui_driver.exe"
# The screen Xvfb makes when there is no display; the virtual desktop has the same size.
QUELLIN_XVFB_SCREEN="1024x768x24"

# run_prefix_ready: makes the prefix the first time (about 15 s) and sets this shell up to use it.
run_prefix_ready() {
  if [ ! -f "$QUELLIN_RUN_PREFIX/.quellin-ready" ]; then
    echo "run: making the Wine prefix $QUELLIN_RUN_PREFIX (once)"
    wine_prefix_fresh "$QUELLIN_RUN_PREFIX" x11
    wine_stop
    touch "$QUELLIN_RUN_PREFIX/.quellin-ready"
  fi
  wine_env "$QUELLIN_RUN_PREFIX"
}

# wine_session_start on|off: a fresh server session on the current DISPLAY, with or without Wine's
# virtual desktop. Without a window manager (Xvfb) windows get their frame and caption only inside
# the virtual desktop; on a real display the desktop's own window manager draws them.
wine_session_start() {
  wine_stop
  timeout 60 "$QUELLIN_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
  if [ "$1" = on ]; then
    wine_quiet reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    wine_quiet reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "${QUELLIN_XVFB_SCREEN%x*}" /f
  else
    wine_quiet reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f || true
  fi
  # The desktop and the display are taken when the session starts.
  wine_stop
  timeout 60 "$QUELLIN_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
  wine_server_warm
}

# windows_path FILE: the Windows form of a Linux path that exists; anything else unchanged.
windows_path() {
  if [ -e "$1" ]; then
    timeout 20 "$QUELLIN_WINE64" winepath -w "$(realpath "$1")" </dev/null 2>/dev/null
  else
    printf '%s\n' "$1"
  fi
}

# quellin_driver ARGS...: the GUI test driver, which finds the main window by its class.
quellin_driver() {
  timeout 20 "$QUELLIN_WINE64" "$QUELLIN_DRIVER" "$@" </dev/null 2>/dev/null
}

# window_picture OUT [GEOMETRY-COMMAND]: a PNG of the main window (or of the window whose
# rectangle the driver command prints, e.g. about-geometry), cut out of a picture of the screen.
window_picture() {
  local out="$1" geometry x y w h
  geometry=$(quellin_driver "${2:-geometry}") || return 1
  read -r x y w h <<<"$geometry"
  # Let the window finish painting after it became visible.
  sleep 1
  import -window root "$out.screen.png"
  convert "$out.screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$out"
  rm -f "$out.screen.png"
}

# screen_picture OUT: a PNG of the whole screen.
screen_picture() {
  import -window root "$1"
}
