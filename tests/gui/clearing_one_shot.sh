#!/usr/bin/env bash
# Quellin started with films (the Explorer entry's way): one run of the real rmevents.exe through
# Go.bat without the window ever showing, each film replaced by its cleaned copy, the report in
# Notepad. Films with blanks, Chinese and "%" in their paths, one listed twice, an empty entry; then
# a read-only film and one a player holds open, which must both survive with their copies beside.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"

make_master
check "the demo film carries the two URL events" "2" \
  "$(film_events "$work/master.rm" "$rmevents_exe" | grep -c '^u ')"
mkdir -p "$work/a b" "$work/片 名" "$work/100% 好"
a="$work/a b/片 一.rm"
b="$work/100% 好/b%TMP%c.rmvb"
c="$work/片 名/c.rm"
for film in "$a" "$b" "$c"; do cp "$work/master.rm" "$film"; done
put_tool "$rmevents_exe"

# Two blanks between the first two paths make an empty entry; the first film comes again last.
check "started with films: never shown, ends by itself" "shown=0 exit=0" \
  "$(one_shot "$quellin" "\"$(win "$a")\"  \"$(win "$b")\" \"$(win "$c")\" \"$(win "$a")\"")"
check "Notepad shows the report" "1" "$(notepads_shown)"

expected_batch "$(win "$a")" "" "$(win "$b")" "$(win "$c")" "$(win "$a")" >"$work/expected.bat"
check "Go.bat byte for byte: code page 936, every % of a name doubled" "same" \
  "$(same_bytes "$work/expected.bat" "$temp_dir/Go.bat")"
check "ret.txt holds the tool's output for every entry in list order" \
"输入文件：$(win "$a")
错误
输入文件：$(win "$b")
输入文件：$(win "$c")
输入文件：$(win "$a")" "$(report_steps)"
for film in "$a" "$b" "$c"; do
  check "replaced by its cleaned copy: ${film#"$work/"}" "differs no-copy" \
    "$(same_bytes "$work/master.rm" "$film") $([ -e "$film.tmp" ] && echo copy-left || echo no-copy)"
  check "no events left, audio and video as before: ${film#"$work/"}" \
    "events=0 data-streams=0 media=same" "$(cleaned_state "$film")"
done
check "a % in a name reaches the tool intact (nothing written elsewhere)" "b%TMP%c.rmvb" \
  "$(ls -A "$work/100% 好")"

# A read-only film, and one a player holds open without delete sharing.
mkdir -p "$work/只读" "$work/播放中"
readonly_film="$work/只读/r.rm"
held="$work/播放中/h.rm"
cp "$work/master.rm" "$readonly_film"
cp "$work/master.rm" "$held"
chmod a-w "$readonly_film"
put_tool "$rmevents_exe"
# Held until the script lets go: its own bound only ends a scenario that failed on the way.
timeout 200 "$wine_run" "$driver" hold "$(win "$held")" "$(win "$work/release")" 180 \
  </dev/null >"$work/hold.out" 2>/dev/null &
holder=$!
cleanup+=("touch '$work/release'")
wait_until 60 "the player holds the film" file_says "$work/hold.out" held
check "the player holds the film" "held" "$(cat "$work/hold.out")"
check "started with a read-only and a held film: ends by itself" "shown=0 exit=0" \
  "$(one_shot "$quellin" "\"$(win "$readonly_film")\" \"$(win "$held")\"")"
touch "$work/release"
wait "$holder"
end_notepads
check "the report tells why neither film was replaced" \
"  $(win "$readonly_film")：未替换：原文件是只读的，清除后的副本留在 $(win "$readonly_film").tmp
  $(win "$held")：未替换：原文件正被其他程序使用，清除后的副本留在 $(win "$held").tmp
合计：已清除 0 个（其中已替换原文件 0 个），没有事件 0 个，未清除 0 个，已清除但未替换 2 个。" \
  "$(iconv -f GBK -t UTF-8 "$temp_dir/ret.txt" | tr -d '\r' | sed -n '/^清除结果/,$p' | tail -n +2)"
for film in "$readonly_film" "$held"; do
  check "kept whole under its name, the cleaned copy beside it: ${film#"$work/"}" \
    "same events=0 data-streams=0 media=same" \
    "$(same_bytes "$work/master.rm" "$film") $(cleaned_state "$film.tmp")"
done
check "the read-only film is still read-only" "-r--r--r--" "$(stat -c %A "$readonly_film")"
chmod u+w "$readonly_film"

finish
