#!/usr/bin/env bash
# "关联Real文件右键菜单": ticking writes the right-click entry for .rm and .rmvb, the next start
# finds it and comes up ticked, unticking removes it and the next start comes up unticked.
source "$(dirname "$0")/lib.sh"

# The default value of key $1 (or its value named $2), or nothing; reg prints in the ANSI code page
# (GBK here).
reg_query() {
  local which=(/ve)
  [ -z "${2:-}" ] || which=(/v "$2")
  timeout 20 "$wine_run" reg query "$1" "${which[@]}" </dev/null 2>/dev/null |
    iconv -f GBK -t UTF-8 | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'
}
# Where the entry lands: a file type with a class name keeps it below that class; the test gives
# .rm and .rmvb one class, as an installed player would.
timeout 20 "$wine_run" reg add 'HKCR\.rm' /ve /d QuellinTest.RealMedia /f </dev/null >/dev/null 2>&1
timeout 20 "$wine_run" reg add 'HKCR\.rmvb' /ve /d QuellinTest.RealMedia /f </dev/null >/dev/null 2>&1
verb='HKCR\QuellinTest.RealMedia\shell\去除R&eal事件'
cleanup+=("timeout 20 \"\$wine_run\" reg delete 'HKCR\\QuellinTest.RealMedia' /f </dev/null >/dev/null 2>&1")

start_quellin
check "the box starts unticked without an entry" "0" "$(q getcheck 106)"
check "nothing is written at start" "" "$(reg_query "$verb\\command")"

q click 106
check "ticking ticks the box" "1" "$(q getcheck 106)"
check "the entry's caption" "去除R&eal事件" "$(reg_query "$verb")"
check "the entry starts this program with the clicked file" \
  "\"$quellin\"  \"%1\"" "$(reg_query "$verb\\command")"
check "Explorer offers the entry for up to 100 selected films" \
  "Player" "$(reg_query "$verb" MultiSelectModel)"
stop_quellin

# An entry from an older Quellin, without the value, still counts as this program's.
timeout 20 "$wine_run" reg delete "$verb" /v MultiSelectModel /f </dev/null >/dev/null 2>&1
start_quellin
check "the next start finds the entry and comes up ticked" "1" "$(q getcheck 106)"
q click 106
check "unticking removes the entry" "" "$(reg_query "$verb\\command")"
stop_quellin

start_quellin
check "after removal the next start comes up unticked" "0" "$(q getcheck 106)"

finish
