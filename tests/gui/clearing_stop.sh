#!/usr/bin/env bash
# A run that is stopped leaves every film whole: closed during its batch, stopped by the end of the
# session, stopped from the notification icon's menu, or its Quellin killed. The batch and its tool
# are gone at once; each film is its original or its cleaned copy, with nothing half-written beside
# it; a finished film is put in place and the others say "清除已停止" in ret.txt, which also names a
# film taken off the list during the run. The stand-in tool takes its time over each film.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/run_lib.sh"

make_master
use_slow_tool 700

# films_in NAME N: N copies of the master in a folder of their own; their paths, one a line.
films_in() {
  mkdir -p "$work/$1"
  local i
  for i in $(seq "$2"); do
    cp "$work/master.rm" "$work/$1/片 $i.rm"
    echo "$work/$1/片 $i.rm"
  done
}

# tool_ended N: prints the stand-in's log and succeeds once it has ended N films (for wait_until).
tool_ended() {
  cat "$temp_dir/tool-log.txt" 2>/dev/null
  [ "$(grep -c '^end ' "$temp_dir/tool-log.txt" 2>/dev/null)" -ge "$1" ]
}

# tools_left: how many processes run a tool from TMP (the stand-in or the real one).
tools_left() { drv processes-in "$temp_win\\" | tr -d '\r'; }
# no_tool_left: the same, succeeding at 0 (for wait_until).
no_tool_left() {
  local n
  n=$(tools_left)
  echo "$n tool process(es)"
  [ "$n" = 0 ]
}

# whole FILM...: "whole=N half=M" — films that are their original or cleaned, and copies left
# beside them.
whole() {
  local film n=0 half=0
  for film in "$@"; do
    if cmp -s "$film" "$work/master.rm" ||
      [ "$(cleaned_state "$film")" = "events=0 data-streams=0 media=same" ]; then
      n=$((n + 1))
    fi
    [ -e "$film.tmp" ] || [ -e "$film.tmp.part" ] && half=$((half + 1))
  done
  echo "whole=$n half=$half"
}

# stopped_section: the counts of ret.txt's section of a stopped run: films done and put in place,
# films stopped, and whether the run says it was stopped.
stopped_section() {
  local text
  text=$(iconv -f GBK -t UTF-8 "$temp_dir/ret.txt" | tr -d '\r')
  printf 'replaced>=1:%s stopped>=1:%s said:%s\n' \
    "$([ "$(grep -c '：已清除，已替换原文件$' <<<"$text")" -ge 1 ] && echo yes || echo no)" \
    "$([ "$(grep -c '：未清除：清除已停止$' <<<"$text")" -ge 1 ] && echo yes || echo no)" \
    "$(tail -1 <<<"$text" | grep -q '^清除已停止：' && echo yes || echo no)"
}

# window_run NAME N ENDS: a window run over N films of their own (in `films`), under way until
# the tool has ended ENDS of them.
window_run() {
  mapfile -t films < <(films_in "$1" "$2")
  rm -f "$temp_dir/tool-log.txt"
  start_quellin
  for film in "${films[@]}"; do q add "$(win "$film")"; done
  q click-async 103 >/dev/null
  wait_until 30 "the tool ends $3 film(s)" tool_ended "$3"
}

# Closed during the batch, with the list emptied meanwhile: the run still judges and reports every
# film it was started with.
window_run 关闭 6 2
q click 105
check "closed during its batch: the program ends" "ended exit=0" "$(q close 10 | tr -d '\r')"
pid=
wait_until 5 "no tool runs after the close" no_tool_left
# A moment later still none: a cmd that outlived the stop would have started the next film's tool.
sleep 1
check "and no tool runs any more, now or a moment later" "0" "$(tools_left)"
check "every film whole, nothing half-written beside any" "whole=6 half=0" "$(whole "${films[@]}")"
check "ret.txt ends with the stopped run's section" "replaced>=1:yes stopped>=1:yes said:yes" \
  "$(stopped_section)"
echo "--- the section as Notepad would show it ---"
iconv -f GBK -t UTF-8 "$temp_dir/ret.txt" | tr -d '\r' | sed -n '/^清除结果/,$p'
echo "---"
check "which names every film of the run, though the list was emptied" "6" \
  "$(iconv -f GBK -t UTF-8 "$temp_dir/ret.txt" | grep -cE '^  .*关闭.*片 [1-6]\.rm：')"

# The end of the session: the run ends before the program answers; the window stays for the user.
window_run 注销 4 1
check "log-off during the batch: the program lets the session end" "answer=1" \
  "$(q end-session | tr -d '\r' | cut -d' ' -f1)"
wait_until 5 "no tool runs after the stop" no_tool_left
check "every film whole" "whole=4 half=0" "$(whole "${films[@]}")"
check "ret.txt says the run was stopped" "replaced>=1:yes stopped>=1:yes said:yes" \
  "$(stopped_section)"
check "no Notepad for a stopped run" "0" "$(drv notepads 1)"
stop_quellin

# "停止清除" from the notification icon of a one-shot run.
mapfile -t films < <(films_in 托盘 5)
rm -f "$temp_dir/tool-log.txt"
args=""
for film in "${films[@]}"; do args+="\"$(win "$film")\" "; done
check "a one-shot run stopped from its icon's menu ends by itself" \
  "shown=0 exit=0
stop chosen from the icon's menu" \
  "$(timeout 120 "$wine_run" "$driver" one-shot "$image" "${args% }" 100 --tray-stop 1 </dev/null |
    tr -d '\r' | grep -v '^tray ')"
wait_until 5 "no tool runs after the stop" no_tool_left
check "every film whole" "whole=5 half=0" "$(whole "${films[@]}")"
check "ret.txt says the run was stopped" "replaced>=1:yes stopped>=1:yes said:yes" \
  "$(stopped_section)"

# Quellin killed (Task Manager, a crash): it cannot clean up, but its batch goes with it.
window_run 结束 4 1
q kill
pid=
# The tool and cmd go with the job when Quellin goes (well within a second here; the bound leaves
# room for a loaded machine and the driver's own starts).
wait_until 5 "Quellin killed during its batch: its tool is gone" no_tool_left
check "Quellin killed during its batch: no tool runs" "0" "$(tools_left)"
end_notepads
finish
