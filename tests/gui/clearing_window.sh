#!/usr/bin/env bash
# The clear button "清除Real事件" through the window, with the real rmevents.exe: it is off while
# the run waits and back afterwards, the list stays as it was, Ch decides whether the cleaned
# copies replace the films, and a list emptied during the wait means nothing is replaced.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"

make_master
put_tool "$rmevents_exe"
printf 'an earlier run\r\n' >"$temp_dir/ret.txt"
start_quellin

check "empty list: the button is off during the run and back after it" \
  "disabled-during-run=1 enabled-after=1" "$(q watch-run 103 60)"
expected_batch >"$work/expected.bat"
check "empty list: Go.bat holds only the events-file line" "same" \
  "$(same_bytes "$work/expected.bat" "$temp_dir/Go.bat")"
check "empty list: ret.txt is what the earlier run left, and Notepad shows it" \
  "an earlier run 1" "$(tr -d '\r' <"$temp_dir/ret.txt") $(notepads_shown)"

mkdir -p "$work/窗 口"
a="$work/窗 口/a.rm"
b="$work/窗 口/b 2.rmvb"
fresh_films() {
  for film in "$a" "$b"; do
    cp "$work/master.rm" "$film"
    rm -f "$film.tmp"
  done
}
fresh_films
q add "$(win "$a")" "$(win "$b")"
listed=$(q list)

q click 104
check "Ch unticked by a click" "0" "$(q getcheck 104)"
check "Ch unticked: the button is off during the run and back after it" \
  "disabled-during-run=1 enabled-after=1" "$(q watch-run 103 60)"
check "the run leaves the list as it was" "$listed" "$(q list)"
check "Notepad shows the report" "1" "$(notepads_shown)"
for film in "$a" "$b"; do
  check "Ch unticked: the film keeps its bytes, its cleaned copy beside it: ${film##*/}" \
    "same events=0 data-streams=0 media=same" \
    "$(same_bytes "$work/master.rm" "$film") $(cleaned_state "$film.tmp")"
done

fresh_films
q click 104
check "Ch ticked again" "1" "$(q getcheck 104)"
check "Ch ticked: the button is off during the run and back after it" \
  "disabled-during-run=1 enabled-after=1" "$(q watch-run 103 60)"
check "the run leaves the list as it was" "$listed" "$(q list)"
end_notepads
for film in "$a" "$b"; do
  check "Ch ticked: the film is its cleaned copy now: ${film##*/}" \
    "differs no-copy events=0 data-streams=0 media=same" \
    "$(same_bytes "$work/master.rm" "$film") $([ -e "$film.tmp" ] && echo copy-left ||
       echo no-copy) $(cleaned_state "$film")"
done

fresh_films
check "清空列表 pressed during the wait" "disabled-during-run=1 enabled-after=1" \
  "$(q watch-run 103 60 --during 105)"
check "the list is empty" "count=0" "$(q list)"
end_notepads
for film in "$a" "$b"; do
  check "list emptied during the wait: nothing replaced: ${film##*/}" "same copy-left" \
    "$(same_bytes "$work/master.rm" "$film") $([ -e "$film.tmp" ] && echo copy-left || echo no-copy)"
done
check "the window is still there" "1" "$(q visible)"

# Closing the window during the wait ends the program at once; the batch goes on by itself, and
# nothing after the wait happens: no replacement, no Notepad.
fresh_films
q add "$(win "$a")" "$(win "$b")"
check "the window closed during the wait: the program ends at once" \
  "disabled-during-run=1 ended=1" "$(q watch-run 103 60 --during close)"
pid=
wait_until 60 "the batch left alone writes both copies" files_exist "$a.tmp" "$b.tmp"
for film in "$a" "$b"; do
  check "the batch went on by itself, nothing was replaced: ${film##*/}" \
    "same events=0 data-streams=0 media=same" \
    "$(same_bytes "$work/master.rm" "$film") $(cleaned_state "$film.tmp")"
done
check "no Notepad opened" "0" "$(drv notepads 0)"

finish
