# Shared by the GUI test scripts. Arguments of every script: WINE_RUN DRIVER QUELLIN_EXE.
# The Wine prefix (WINEPREFIX or the build folder's own) must be prepared, with a warm server, by
# whoever runs ctest (scripts/test does).
set -uo pipefail

wine_run="$1"
driver="$2"
# Quellin is started by the driver with CreateProcess, so it needs the Windows form of its path.
quellin="Z:$(printf %s "$3" | tr / '\\')"
failures=0
pid=
# Names this scenario's run to the Wine wrapper, which retries a start Wine ended silently only
# once per run (see cmake/wine-run.sh.in).
export QUELLIN_TEST="gui.$(basename "$0" .sh) $$"
# Commands a script adds to run at its end, after its Quellin is stopped.
cleanup=()
on_exit() {
  stop_quellin
  local command
  for command in "${cleanup[@]}"; do eval "$command"; done
}
trap on_exit EXIT

# drv ARGS...: one driver call; a stuck call fails the test instead of hanging it.
drv() {
  timeout 20 "$wine_run" "$driver" "$@" </dev/null
}

# check NAME EXPECTED ACTUAL
check() {
  if [ "$2" == "$3" ]; then
    echo "ok   $1"
  else
    echo "FAIL $1"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | sed 's/^/     /'
    failures=$((failures + 1))
  fi
}

# wait_until SECONDS WHAT COMMAND...: runs COMMAND every 0.1 s until it succeeds. When it has not
# within SECONDS the scenario fails there and then, naming WHAT and showing what COMMAND printed
# the last time, rather than going on to a later check that would fail for a misleading reason.
# The time is only a bound for a fault: a busy machine may take long, a working program gets there.
wait_until() {
  local seconds="$1" what="$2" seen
  shift 2
  local deadline=$((SECONDS + seconds))
  until seen=$("$@" 2>&1); do
    if [ "$SECONDS" -ge "$deadline" ]; then
      echo "FAIL $what: not within $seconds s; last seen:"
      printf '%s\n' "${seen:-<nothing>}" | sed 's/^/     /'
      exit 1
    fi
    sleep 0.1
  done
}

# file_says FILE WORD: prints FILE and succeeds once a line of it holds WORD (for wait_until).
file_says() {
  [ -e "$1" ] || { echo "no file $1"; return 1; }
  tr -d '\r' <"$1"
  grep -qs -- "$2" "$1"
}

# files_exist FILE...: names each FILE that is missing and succeeds when none is (for wait_until).
files_exist() {
  local file missing=0
  for file in "$@"; do
    [ -e "$file" ] || { echo "missing: $file"; missing=1; }
  done
  return "$missing"
}

# start_quellin [ARGUMENT-TEXT]: starts Quellin and waits until its main window is visible; every
# later call addresses that process only. Wine's own messages about the program go to the file
# $quellin_stderr when a script sets it.
start_quellin() {
  # Wine hands the driver's standard streams on to the program it starts, so they go to a file
  # and to /dev/null: a pipe held open by Quellin would never reach its end.
  local started said
  started=$(mktemp)
  drv start "$quellin" "${1:-}" >"$started" 2>"${quellin_stderr:-/dev/null}"
  said=$(cat "$started")
  rm -f "$started"
  pid=$(sed -n 's/^pid=//p' <<<"$said")
  if [ -z "$pid" ]; then
    echo "FAIL Quellin.exe did not start; the driver said: ${said:-nothing}"
    exit 1
  fi
  # A bound for a fault, not a measure: under load Wine may take several seconds to show it.
  if ! said=$(timeout 70 "$wine_run" "$driver" --pid "$pid" wait 60 </dev/null 2>&1); then
    echo "FAIL Quellin's main window: ${said:-the driver said nothing}"
    exit 1
  fi
}

# end_notepads: ends every Notepad in the prefix. A run opens one on its report, and any Wine
# process the script started, however indirectly, keeps the script's output pipe open until it
# ends.
end_notepads() {
  timeout 20 "$wine_run" taskkill /f /im notepad.exe </dev/null >/dev/null 2>&1
  return 0
}

# end_leftovers: ends every Quellin and Notepad in the prefix. A script that ctest ends at its
# timeout skips its EXIT trap, and what it left running would answer the next scenario's calls
# (the driver finds the main window by its class), so each scenario starts with this.
end_leftovers() {
  timeout 20 "$wine_run" taskkill /f /im Quellin.exe </dev/null >/dev/null 2>&1
  end_notepads
}

stop_quellin() {
  [ -n "$pid" ] && drv --pid "$pid" kill >/dev/null 2>&1
  pid=
  return 0
}

# set_dpi N | set_dpi default: the user's DPI setting, which each Wine process reads when it
# starts; the prefix's own default is 96.
set_dpi() {
  if [ "$1" = default ]; then
    timeout 20 "$wine_run" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f
  else
    timeout 20 "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
  fi </dev/null >/dev/null 2>&1
  return 0
}

q() {
  drv --pid "$pid" "$@"
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}

end_leftovers
