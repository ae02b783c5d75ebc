#!/usr/bin/env bash
# The right-click entry end to end: Quellin registers "去除R&eal事件" through its check box, then
# the shell's own verb call (what Explorer does on a click) starts Quellin on a film with URL
# events, which cleans it without showing its window: events gone, packets unchanged, the film
# replaced. The tool comes out of Quellin.exe itself: no rmevents.exe is put in TMP by hand.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"
opener="${8:?shell_verb_open.exe}"

# Wine's shell finds verbs only below a class, so .rm gets one, as an installed player gives it.
timeout 20 "$wine_run" reg add 'HKCR\.rm' /ve /d QuellinTest.Explorer /f </dev/null >/dev/null 2>&1
cleanup+=("timeout 20 \"\$wine_run\" reg delete 'HKCR\\QuellinTest.Explorer' /f </dev/null >/dev/null 2>&1")

make_master
film="$work/右键 测试/a%b.rm"
mkdir -p "$(dirname "$film")" && cp "$work/master.rm" "$film"
rm -f "$temp_dir/rmevents.exe" "$temp_dir/Go.bat" "$temp_dir/ret.txt" "$temp_dir/Event.txt"

start_quellin
q click 106
check "the box registers the entry" "1" "$(q getcheck 106)"
stop_quellin

check "the verb starts Quellin, which ends by itself" "started exit=0" \
  "$(timeout 120 "$wine_run" "$opener" '去除R&eal事件' "$(win "$film")" 100 </dev/null 2>/dev/null |
     tr -d '\r')"
check "Quellin brought its own rmevents.exe into TMP" "yes" \
  "$([ -f "$temp_dir/rmevents.exe" ] && echo yes || echo no)"
check "the film is cleaned in place" "events=0 data-streams=0 media=same" "$(cleaned_state "$film")"
check "no copy is left beside it" "no" "$([ -e "$film.tmp" ] && echo yes || echo no)"
end_notepads

# The box wrote the entry for .rmvb too, wherever that type keeps it: unticking removes both, so
# the scenarios after this one find the prefix's file types as they were.
start_quellin
q click 106
check "unticking removes the entries again" "0" "$(q getcheck 106)"
stop_quellin

finish
