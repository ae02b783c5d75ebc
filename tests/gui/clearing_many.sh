#!/usr/bin/env bash
# Several Quellins sharing one TMP, as Explorer starts them for a selection (one start per film,
# all at once): every film cleaned, one run and one Notepad for the selection, runs never overlap,
# and a run whose Quellin was killed does not block the next.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"

make_master

# starts_at_once N: N films in folders with blanks and Chinese, one start per film at once; prints
# the driver's line, then checks the films and the report.
starts_at_once() {
  local n="$1" films=() texts=() i film
  for i in $(seq "$n"); do
    film="$work/选 $n/第 $i 部/片 $i.rm"
    mkdir -p "${film%/*}"
    cp "$work/master.rm" "$film"
    films+=("$film")
    texts+=("\"$(win "$film")\"")
  done
  check "$n starts at once: each ends by itself, none shows its window" \
    "ended=$n/$n exits=0 shown=0" \
    "$(timeout 200 "$wine_run" "$driver" starts 180 "$quellin" "${texts[@]}" </dev/null)"
  check "$n starts at once: one Notepad for the selection" "1" "$(notepads_shown)"
  # Every film is a copy of the master and the tool writes the same bytes for the same film: the
  # first is checked in full, and each of the others cleaned is its twin.
  local cleaned=0 left=0 first="${films[0]}" state
  state=$(cleaned_state "$first")
  for film in "${films[@]}"; do
    [ "$state" = "events=0 data-streams=0 media=same" ] && cmp -s "$film" "$first" &&
      cleaned=$((cleaned + 1))
    [ -e "$film.tmp" ] && left=$((left + 1))
  done
  check "$n starts at once: every film cleaned in place, no copy left beside" \
    "cleaned=$n left=0" "cleaned=$cleaned left=$left"
  check "$n starts at once: ret.txt names every film once" \
    "$(for film in "${films[@]}"; do echo "输入文件：$(win "$film")"; done | sort)" \
    "$(report_steps | sort)"
}

# As many starts as Explorer makes for one selection (MultiSelectModel=Player), and the first
# start ever: no tool in TMP yet, so the starts also race to bring it there.
rm -f "$temp_dir/rmevents.exe"
starts_at_once 100

# A stand-in that takes 3 s a film and logs when each film's tool starts and ends. The program
# without its payload runs, so nothing puts the real tool back.
put_tool "$slow_exe"
cp "$rmevents_exe" "$temp_dir/rmevents-real.exe"
cleanup+=("rm -f '$temp_dir/rmevents-real.exe' '$temp_dir/tool-log.txt'")
export SLOW_TOOL_MS=3000
quellin="$image"
mkdir -p "$work/窗口 与 右键"
a="$work/窗口 与 右键/窗口.rm"
b="$work/窗口 与 右键/右键.rm"
cp "$work/master.rm" "$a"
cp "$work/master.rm" "$b"
rm -f "$temp_dir/tool-log.txt"
start_quellin
q add "$(win "$a")"
q click-async 103
wait_until 60 "the window's run starts its tool" file_says "$temp_dir/tool-log.txt" start
check "a right-click start during the window's run waits its turn, then cleans its film" \
  "shown=0 exit=0" "$(one_shot "$image" "\"$(win "$b")\"")"
check "the two runs took turns: the second tool started after the first ended" \
  "start $(win "$a")
end $(win "$a")
start $(win "$b")
end $(win "$b")" "$(tr -d '\r' <"$temp_dir/tool-log.txt")"
check "the window's run is not disturbed: its list is as it was" "count=1
[$(win "$a")]" "$(q list)"
check "each run opened its own Notepad" "2" "$(notepads_shown)"
for film in "$a" "$b"; do
  check "cleaned in place: ${film##*/}" "events=0 data-streams=0 media=same no-copy" \
    "$(cleaned_state "$film") $([ -e "$film.tmp" ] && echo copy-left || echo no-copy)"
done
stop_quellin

# A run whose Quellin is killed during its batch leaves the lock abandoned: the next takes it.
c="$work/窗口 与 右键/被杀.rm"
d="$work/窗口 与 右键/之后.rm"
cp "$work/master.rm" "$c"
cp "$work/master.rm" "$d"
rm -f "$temp_dir/tool-log.txt"
start_quellin
q add "$(win "$c")"
q click-async 103
wait_until 60 "the run to be killed starts its tool" file_says "$temp_dir/tool-log.txt" start
stop_quellin
# Its batch went with it (clearing_stop.sh checks that); its lock is taken over at once.
export SLOW_TOOL_MS=0
check "after a run's Quellin was killed, the next start is not blocked" "shown=0 exit=0" \
  "$(one_shot "$image" "\"$(win "$d")\"")"
end_notepads
check "and cleans its film" "events=0 data-streams=0 media=same" "$(cleaned_state "$d")"

finish
