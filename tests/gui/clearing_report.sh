#!/usr/bin/env bash
# What the user reads after a one-shot run: one line per film after the tool's output, each with
# what really became of it. Two films with events are cleaned; two without are left alone (bytes,
# modification time, no copy); a file that is not RealMedia gets no copy; a Korean name, which
# code page 936 cannot carry, goes through the batch (and the report) by its short name. Stand-in notepad.exe and
# explorer.exe beside Quellin and in the current folder never run, and a TMP with blanks and a
# stand-in at its first blank's prefix still runs the real batch.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"

make_master
# A film without events: the master with its events removed by the tool itself.
printf 'rem \r\n' >"$work/none.txt"
"$wine_run" "$rmevents_exe" -i "$(win "$work/master.rm")" -o "$(win "$work/plain.rm")" \
  -e "$(win "$work/none.txt")" </dev/null >/dev/null 2>&1
mkdir -p "$work/报 告" "$work/한국 영화"
with1="$work/报 告/有事件 1.rm"
with2="$work/한국 영화/영화.rm"
without1="$work/报 告/无事件 1.rm"
without2="$work/报 告/无事件 2.rmvb"
text="$work/报 告/不是影片.rm"
cp "$work/master.rm" "$with1"
cp "$work/master.rm" "$with2"
cp "$work/plain.rm" "$without1"
cp "$work/plain.rm" "$without2"
touch -d '2020-01-02 03:04:05' "$without1" "$without2"
printf 'not a film\n' >"$text"

# Where Windows would look first for a bare "notepad" or "explorer": Quellin's folder and the
# current folder. Quellin runs from a copy in a folder of its own for this.
mkdir -p "$work/程序" "$work/当前"
cp "$3" "$work/程序/Quellin.exe"
for folder in "$work/程序" "$work/当前"; do
  for name in notepad explorer; do cp "$slow_exe" "$folder/$name.exe"; done
done

# TMP with blanks, and a stand-in where an unquoted path would be cut at the first blank.
spaced="$work/tmp dir/with blanks"
mkdir -p "$spaced"
cp "$slow_exe" "$work/tmp.exe"
put_tool "$rmevents_exe"
cp "$temp_dir/rmevents.exe" "$spaced/rmevents.exe"

texts="\"$(win "$with1")\" \"$(win "$without1")\" \"$(win "$text")\" \"$(win "$with2")\" \"$(win "$without2")\""
check "started with five films: never shown, ends by itself" "shown=0 exit=0" \
  "$(cd "$work/当前" && timeout 120 "$wine_run" "$driver" --env "TMP=$(win "$spaced")" \
       one-shot "$(win "$work/程序/Quellin.exe")" "$texts" 100 </dev/null)"
check "the real Notepad shows the report" "1" "$(notepads_shown)"
check "no stand-in ran (it would have left its log in TMP)" "no-log" \
  "$([ -e "$spaced/tool-log.txt" ] || [ -e "$temp_dir/tool-log.txt" ] && echo log || echo no-log)"
for film in "$with1" "$with2"; do
  check "cleaned in place: ${film##*/}" "events=0 data-streams=0 media=same no-copy" \
    "$(cleaned_state "$film") $([ -e "$film.tmp" ] && echo copy-left || echo no-copy)"
done
for film in "$without1" "$without2"; do
  check "left alone, no copy: ${film##*/}" "same 2020-01-02 03:04:05 no-copy" \
    "$(same_bytes "$work/plain.rm" "$film") $(date -r "$film" '+%F %T') $([ -e "$film.tmp" ] && echo copy || echo no-copy)"
done

check "on a Chinese system ret.txt is in code page 936, without a byte-order mark" "no-mark" \
  "$([ "$(head -c 3 "$spaced/ret.txt" | od -An -tx1 | tr -d " \n")" = efbbbf ] && echo mark || echo no-mark)"
iconv -f GBK -t UTF-8 "$spaced/ret.txt" | tr -d '\r' >"$work/report.txt"
echo "--- ret.txt as Notepad shows it ---"
cat "$work/report.txt"
echo "---"
check "the report names every film with its outcome, in list order" \
"  $(win "$with1")：已清除，已替换原文件
  $(win "$without1")：文件中没有事件，未改动
  $(win "$text")：未清除：工具没有写出副本（见上面工具的输出）
  <短名>：已清除，已替换原文件
  $(win "$without2")：文件中没有事件，未改动
合计：已清除 2 个（其中已替换原文件 2 个），没有事件 2 个，未清除 1 个，已清除但未替换 0 个。" \
  "$(sed -n '/^清除结果/,$p' "$work/report.txt" | tail -n +2 | sed -E '4s/^  [^：]*~[^：]*：/  <短名>：/')"

finish
