# Shared by the event-clearing scripts; source after lib.sh. Their further arguments:
#   RMEVENTS_EXE IMAGE_EXE SIZE_DOUBLE_EXE WORKDIR SLOW_TOOL_EXE
# (the real tool, the program without its payload, the size-limit stand-in, a scratch folder, the
# stand-in that takes its time over each film).
rmevents_exe="$4"
image="Z:$(printf %s "$5" | tr / '\\')"
double_exe="$6"
work="$7"
slow_exe="${8:-}"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/demo_film.sh"
# The film helpers run Wine through this build's wrapper and prefix.
QUELLIN_WINE64="$wine_run"

for tool in ffmpeg ffprobe iconv cmp; do
  command -v "$tool" >/dev/null || { echo "FAIL $tool is missing: run scripts/setup"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work" || exit 1

# The TMP Quellin reads: Wine sets it from the prefix's registry, whatever TMP is on Linux.
temp_win=$(timeout 20 "$wine_run" cmd /c 'echo %TMP%' </dev/null 2>/dev/null | tr -d '\r\n')
temp_dir=$(timeout 20 "$wine_run" winepath -u "$temp_win" </dev/null 2>/dev/null)
temp_dir="${temp_dir%/}"
if [ -z "$temp_win" ] || [ ! -d "$temp_dir" ]; then
  echo "FAIL no TMP folder in the Wine prefix ($temp_win)"
  exit 1
fi

# win PATH: the Windows path Quellin sees for a Linux path.
win() { z_path "$1"; }

# put_tool EXE: EXE as TMP's rmevents.exe, and no files of an earlier run.
put_tool() {
  cp "$1" "$temp_dir/rmevents.exe"
  rm -f "$temp_dir/Go.bat" "$temp_dir/ret.txt" "$temp_dir/Event.txt" "$temp_dir/Status.txt"
}
cleanup+=("put_tool '$rmevents_exe'")

# use_slow_tool MS: the slow stand-in as TMP's rmevents.exe, taking MS milliseconds a film before
# it runs the real tool beside it. The program without its payload runs from here on, so nothing
# puts the real tool back over the stand-in.
use_slow_tool() {
  put_tool "$slow_exe"
  cp "$rmevents_exe" "$temp_dir/rmevents-real.exe"
  cleanup+=("rm -f '$temp_dir/rmevents-real.exe' '$temp_dir/tool-log.txt'")
  export SLOW_TOOL_MS="$1"
  quellin="$image"
}

# expected_batch ENTRY...: Go.bat as it must be for these entries (Windows paths), in code page
# 936, written out here from the batch format itself.
expected_batch() {
  local t="${temp_win//%/%%}" e redirect='>'
  {
    printf 'echo rem > "%s\\Event.txt"\r\n' "$t"
    for e in "$@"; do
      e="${e//%/%%}"
      printf '"%s\\rmevents.exe" -i "%s" -o "%s.tmp" -e "%s\\Event.txt" %s"%s\\ret.txt"\r\n' \
        "$t" "$e" "$e" "$t" "$redirect" "$t"
      redirect='>>'
    done
  } | iconv -f UTF-8 -t GBK
}

# same_bytes A B: "same" or "differs".
same_bytes() { cmp -s "$1" "$2" && echo same || echo differs; }

# report_steps: what ret.txt says, one line per tool run: its input line, or "错误" for a run that
# failed before naming its input.
report_steps() {
  iconv -f GBK -t UTF-8 "$temp_dir/ret.txt" | tr -d '\r' | grep -E '^(输入文件|错误)：' |
    sed -E 's/^错误：.*/错误/'
}

# notepads_shown: how many Notepad windows are up (waiting up to 10 s for one); then ends them.
notepads_shown() {
  drv notepads 10
  end_notepads
}
cleanup+=(end_notepads)

# one_shot EXE ARGUMENT-TEXT: starts EXE with that argument text, as Explorer's entry does, and
# watches it to its end (at most 100 s); prints shown=0|1 exit=N.
one_shot() {
  timeout 120 "$wine_run" "$driver" one-shot "$1" "$2" 100 </dev/null
}

# make_master: the demo film with URL events at $work/master.rm and its packets' MD5s.
make_master() {
  make_demo_film "$work/master.rm" "$rmevents_exe" 4 || { echo "FAIL cannot make a film"; exit 1; }
  media_md5 "$work/master.rm" >"$work/master.md5"
}

# cleaned_state FILM: what a cleaned copy of the master must show: no events (rmevents and
# FFmpeg agree) and every audio and video packet as it was.
cleaned_state() {
  local media=differs
  [ "$(media_md5 "$1")" = "$(cat "$work/master.md5")" ] && media=same
  printf 'events=%s data-streams=%s media=%s\n' \
    "$(film_events "$1" "$rmevents_exe" | grep -c .)" "$(data_streams "$1")" "$media"
}
