#!/usr/bin/env bash
# A Western system, where cmd's code page (OEM 850) is not the ANSI one (1252): a film in a folder
# named with "é" is cleaned through the batch, because Go.bat is written in the code page cmd
# reads it in; a film with a Chinese name goes through it by its short name. The report is UTF-8
# with a byte-order mark, so its Chinese reads right, and names both films by their real names.
# Runs in a prefix of its own with the French locale.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"

locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$' || { echo "FAIL fr_FR.UTF-8 is missing: run scripts/setup"; exit 1; }
make_master
film="$work/Films été/à voir.rm"
chinese="$work/电影/第一集.rm"
mkdir -p "${film%/*}" "${chinese%/*}"
cp "$work/master.rm" "$film"
cp "$work/master.rm" "$chinese"

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

check "started on a film in a folder named with é and a Chinese one: never shown, ends by itself" \
  "shown=0 exit=0" \
  "$(western timeout 150 "$wine_run" "$driver" one-shot "$quellin" \
       "\"$(win "$film")\" \"$(win "$chinese")\"" 120 </dev/null)"
western timeout 30 "$wine_run" taskkill /f /im notepad.exe </dev/null >/dev/null 2>&1
temp_fr=$(ls -d "$work"/prefix-fr/drive_c/users/*/Temp 2>/dev/null | head -1)
check "Go.bat names the film in code page 850" "1" \
  "$(iconv -f CP850 -t UTF-8 "$temp_fr/Go.bat" 2>/dev/null | grep -c 'Films été\\à voir.rm"')"
for f in "$film" "$chinese"; do
  check "cleaned in place: ${f##*/}" "events=0 data-streams=0 media=same no-copy" \
    "$(cleaned_state "$f") $([ -e "$f.tmp" ] && echo copy-left || echo no-copy)"
done
check "ret.txt starts with the UTF-8 byte-order mark" "efbbbf" "$(head -c 3 "$temp_fr/ret.txt" | od -An -tx1 | tr -d " \n")"
echo "--- ret.txt as Notepad shows it ---"
tail -c +4 "$temp_fr/ret.txt" | tr -d '\r' | tee "$work/report.txt"
echo "---"
check "the tool too names the film it was given by its short name by its real name" "1" \
  "$(grep -c "^输入文件：$(win "$chinese" | sed 's/\\/\\\\/g')\$" "$work/report.txt")"
check "and reads in Chinese, naming both films by their real names" \
"清除结果（共 2 个文件）：
  $(win "$film")：已清除，已替换原文件
  $(win "$chinese")：已清除，已替换原文件" \
  "$(sed -n '/^清除结果/,$p' "$work/report.txt" | head -3)"

finish
