#!/usr/bin/env bash
# A Western system, where cmd's code page (OEM 850) is not the ANSI one (1252): a film in a folder
# named with "é" is cleaned through the batch, because Go.bat is written in the code page cmd
# reads it in. Runs in a prefix of its own with the French locale.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"

locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$' || { echo "FAIL fr_FR.UTF-8 is missing: run scripts/setup"; exit 1; }
make_master
film="$work/Films été/à voir.rm"
mkdir -p "${film%/*}"
cp "$work/master.rm" "$film"

western() {
  # QUELLIN_LOCALE: the build's Wine wrapper, which starts the driver, keeps this locale.
  WINEPREFIX="$work/prefix-fr" LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 QUELLIN_LOCALE=fr_FR.UTF-8 \
    WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$@"
}
cleanup+=("western /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1")
western timeout 240 /usr/lib/wine/wine64 wineboot -u </dev/null >/dev/null 2>&1
# The graphics driver is chosen when the server session starts: null, then a fresh server.
western timeout 60 /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
  </dev/null >/dev/null 2>&1
western /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1
western timeout 60 /usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1
western /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1

check "started on a film in a folder named with é: never shown, ends by itself" "shown=0 exit=0" \
  "$(western timeout 150 "$wine_run" "$driver" one-shot "$quellin" "\"$(win "$film")\"" 120 </dev/null)"
western timeout 30 "$wine_run" taskkill /f /im notepad.exe </dev/null >/dev/null 2>&1
temp_fr=$(ls -d "$work"/prefix-fr/drive_c/users/*/Temp 2>/dev/null | head -1)
check "Go.bat names the film in code page 850" "1" \
  "$(iconv -f CP850 -t UTF-8 "$temp_fr/Go.bat" 2>/dev/null | grep -c 'Films été\\à voir.rm"')"
check "the film is cleaned in place" "events=0 data-streams=0 media=same no-copy" \
  "$(cleaned_state "$film") $([ -e "$film.tmp" ] && echo copy-left || echo no-copy)"

finish
