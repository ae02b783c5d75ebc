#!/usr/bin/env bash
# check_imports.sh OBJDUMP EXE...: fails (exit 1, one line per offending DLL) when an EXE imports a
# library by name that Windows would look for beside the program before its own system folder.
# Only the KnownDLLs (mapped from the system folder by the system itself, whatever lies beside
# the program), ntdll (loaded by the system before any program code) and the API sets
# (api-ms-win-*, resolved by the loader, never files) are safe to import. Everything else is
# loaded at run time from the system folder (src/platform/system_library.h).
#
# The list: the names present in HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs
# on every Windows from 7 to 11, 32 and 64 bit. Windows 10 dropped several that Windows 7 had
# (urlmon, wininet, iertutil, usp10, lpk) and Windows 8 added some Windows 7 lacks (combase,
# gdiplus, shcore, coml2): a name missing on any of them is not safe there. comctl32 and version
# were never on it.
set -uo pipefail

known='advapi32|clbcatq|comdlg32|difxapi|gdi32|imagehlp|imm32|kernel32|msctf|msvcrt|normaliz|nsi|ole32|oleaut32|psapi|rpcrt4|sechost|setupapi|shell32|shlwapi|user32|wldap32|ws2_32'

objdump="$1"
shift
status=0
for exe in "$@"; do
  if [ ! -f "$exe" ]; then
    echo "$exe: missing"
    status=1
    continue
  fi
  names=$("$objdump" -p "$exe" | sed -n 's/.*DLL Name: //p')
  if [ -z "$names" ]; then
    echo "$exe: no import table read"
    status=1
    continue
  fi
  bad=$(grep -viE "^(($known)\.dll|ntdll\.dll|api-ms-win-[a-z0-9-]+\.dll)$" <<<"$names")
  if [ -n "$bad" ]; then
    echo "$exe imports libraries Windows may load from the program's folder:" $bad
    status=1
  fi
done
exit "$status"
