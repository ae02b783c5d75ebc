#!/usr/bin/env bash
# The 32-bit Quellin on 64-bit Windows: the system folder it is given is system32, which Windows
# redirects to syswow64 for a 32-bit program. A one-shot run in a 64-bit prefix with the 32-bit
# Wine beside it (the i386 root's wine64 and wine32) must find cmd.exe there and clean the film,
# and start the notepad.exe of syswow64: a stand-in placed there notes its start, while the 64-bit
# system32 keeps the real Notepad, so a path around the redirection would show a real window and
# leave no note. Runs in a prefix of its own.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"

wine64_loader="$(dirname "$0")/../../scripts/i386/wine64"
wineserver="$(dirname "$0")/../../scripts/i386/wineserver"
prefix="$work/prefix-wow64"
make_master
film="$work/片 名/wow64.rm"
mkdir -p "${film%/*}"
cp "$work/master.rm" "$film"

mixed() {
  WINEPREFIX="$prefix" WINEARCH=win64 LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" "$@"
}
cleanup+=("mixed '$wineserver' -k </dev/null >/dev/null 2>&1")
mixed timeout 300 "$wine64_loader" wineboot -u </dev/null >/dev/null 2>&1
system32="$prefix/drive_c/windows/system32"
syswow64="$prefix/drive_c/windows/syswow64"
# pe_kind FILE: pe32+ for an x86-64 program, pe32 for an i386 one (the PE header's machine field).
pe_kind() {
  local at
  at=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  case "$(od -An -tx2 -j$((${at:-0} + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')" in
    8664) echo pe32+ ;;
    014c) echo pe32 ;;
    *) echo none ;;
  esac
}
check "the prefix is mixed: cmd and notepad 64-bit in system32, 32-bit in syswow64" \
  "pe32+ pe32+ pe32 pe32" \
  "$(pe_kind "$system32/cmd.exe") $(pe_kind "$system32/notepad.exe") $(pe_kind "$syswow64/cmd.exe") $(pe_kind "$syswow64/notepad.exe")"
# The graphics driver is chosen when the server session starts: null, then a fresh server.
mixed timeout 60 "$wine64_loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
  </dev/null >/dev/null 2>&1
mixed "$wineserver" -k </dev/null >/dev/null 2>&1
mixed timeout 60 "$wineserver" -w </dev/null >/dev/null 2>&1
mixed "$wineserver" -p </dev/null >/dev/null 2>&1
mixed timeout 60 "$wine64_loader" cmd /c exit </dev/null >/dev/null 2>&1

# The 32-bit stand-in notes "start ..." in TMP\tool-log.txt and ends.
cp "$slow_exe" "$syswow64/notepad.exe"
temp_mixed=$(ls -d "$prefix"/drive_c/users/*/Temp 2>/dev/null | head -1)
rm -f "$temp_mixed/tool-log.txt"
check "started on a film in the 64-bit prefix: never shown, ends by itself" "shown=0 exit=0" \
  "$(mixed timeout 150 "$wine64_loader" "$driver" one-shot "$quellin" "\"$(win "$film")\"" 120 </dev/null)"
check "cmd.exe from the system folder ran the batch: the film is cleaned in place" \
  "events=0 data-streams=0 media=same no-copy" \
  "$(cleaned_state "$film") $([ -e "$film.tmp" ] && echo copy-left || echo no-copy)"
check "the report is written in code page 936" "1" \
  "$(iconv -f GBK -t UTF-8 "$temp_mixed/ret.txt" 2>/dev/null | tr -d '\r' | grep -c '^输入文件：')"
check "notepad.exe came from syswow64, the folder a 32-bit program's system32 is" "started" \
  "$(grep -q '^start' "$temp_mixed/tool-log.txt" 2>/dev/null && echo started || echo not-started)"
check "no 64-bit Notepad window" "0" \
  "$(mixed timeout 20 "$wine64_loader" "$driver" notepads 1 </dev/null 2>/dev/null)"

finish
