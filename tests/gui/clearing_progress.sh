#!/usr/bin/env bash
# A run's progress in the main window's caption, with a stand-in tool that takes half a second a
# film: a run over six films shows every count from 0/6 to 6/6 in order and "Quellin" again at
# its end; a run that must wait for another run's turn says so first; a one-shot run over six
# films shows a notification icon that counts them, and one over a quick film shows none.
# Further arguments: SLOW_TOOL_EXE, the stand-in that takes its time over each film.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"

make_master
use_slow_tool 500
mkdir -p "$work/进度 窗口"
films=()
for i in 1 2 3 4 5 6; do
  films+=("$work/进度 窗口/片 $i.rm")
  cp "$work/master.rm" "${films[-1]}"
done

# watch_captions: the captions of one click on the clear button, one a line.
watch_captions() {
  timeout 120 "$wine_run" "$driver" --pid "$pid" watch-captions 103 100 </dev/null
}

start_quellin
for film in "${films[@]}"; do q add "$(win "$film")"; done
check "six films: the caption counts every film, then is the program's name again" \
  "Quellin
$(for k in 0 1 2 3 4 5 6; do echo "Quellin - 正在清除 $k/6"; done)
Quellin" "$(watch_captions)"
end_notepads
cleaned=0
for film in "${films[@]}"; do
  [ "$(cleaned_state "$film")" = "events=0 data-streams=0 media=same" ] && cleaned=$((cleaned + 1))
done
check "and every film is cleaned in place, as without the count" "6" "$cleaned"

# A right-click start holds the turn with a slow film; the window's run waits for it.
a="$work/进度 窗口/右键.rm"
b="$work/进度 窗口/窗口.rm"
cp "$work/master.rm" "$a"
cp "$work/master.rm" "$b"
rm -f "$temp_dir/tool-log.txt"
export SLOW_TOOL_MS=2000
one_shot "$image" "\"$(win "$a")\"" >"$work/one-shot.txt" &
wait_until 60 "the right-click run starts its tool" file_says "$temp_dir/tool-log.txt" start
q click 105
q add "$(win "$b")"
# The last count may stand for only a few milliseconds before the run ends, too short to sample
# reliably; the six-film run above checks every count.
check "a run that waits for another's turn says so, then counts its film" "Quellin
Quellin - 等待其他清除任务
Quellin - 正在清除 0/1
Quellin" "$(watch_captions | grep -vxF 'Quellin - 正在清除 1/1')"
wait
check "the right-click run ended by itself, its window never shown" "shown=0 exit=0" \
  "$(cat "$work/one-shot.txt")"
end_notepads
stop_quellin

# tray_one_shot ARGUMENT-TEXT: a one-shot run with the driver standing in for the notification
# area; prints how it ended, then each icon call of the program, one a line.
tray_one_shot() {
  timeout 120 "$wine_run" "$driver" one-shot "$image" "$1" 100 --tray </dev/null
}
# icon_story: the calls in short: added with the icon, each count after it at least the one before
# and higher at the end (a new film under way changes the tip before its count does), each naming
# one of the films, removed last. Until the first film's tool has said it started, the run knows no
# film to name: on a loaded machine that can outlast the icon's second, so the count 0 may come
# without a name.
icon_story() {
  awk -F '\t' 'NR == 1 { print; next }
    $1 ~ /^tray (add icon=1|modify) Quellin：正在清除 [0-6]\/6$/ && !gone {
      if ($1 ~ / add / ? added : !added) { print "unexpected: " $0; next }
      n = split($1, w, " "); split(w[n], c, "/")
      named = $2 ~ /^右键 [1-6]\.rm$/
      if (added && c[1] + 0 < last + 0) bad = 1
      if (added && c[1] + 0 > last + 0) ups++
      if (!named && !($2 == "" && c[1] + 0 == 0)) unnamed = 1
      added = 1; last = c[1]; next }
    $0 == "tray delete" && added && !gone { gone = 1; next }
    { print "unexpected: " $0 }
    END { print "added=" added " counted-up=" (ups > 0 && !bad) " named=" !unnamed " removed=" gone }'
}

export SLOW_TOOL_MS=500
args=""
for i in 1 2 3 4 5 6; do
  cp "$work/master.rm" "$work/进度 窗口/右键 $i.rm"
  args+="\"$(win "$work/进度 窗口/右键 $i.rm")\" "
done
check "a one-shot run over six slow films shows its icon after a second, counts up, removes it" \
  "shown=0 exit=0
added=1 counted-up=1 named=1 removed=1" "$(tray_one_shot "${args% }" | tee "$work/tray-calls.txt" | icon_story)"
end_notepads

export SLOW_TOOL_MS=0
c="$work/进度 窗口/快.rm"
cp "$work/master.rm" "$c"
check "a one-shot run over one quick film ends by itself, shows no icon and never its window" \
  "shown=0 exit=0" "$(tray_one_shot "\"$(win "$c")\"")"
end_notepads
check "and cleans its film" "events=0 data-streams=0 media=same" "$(cleaned_state "$c")"

finish
