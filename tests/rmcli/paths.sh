#!/usr/bin/env bash
# Film, events and dump names with blanks, Chinese characters and `%` (as users name their films
# and as a batch file could mangle them): add, dump and strip work on them unchanged.
#   paths.sh RMEVENTS WORKDIR
source "$(dirname "$0")/lib.sh"
dir="$WORK/新 建 文件夹 100%/%TEMP% 影片"
mkdir -p "$dir" || exit 1
film="$dir/测试 影片 %d %s 50%.rm"
events="$dir/事件 %1.txt"
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=duration=2:size=176x144:rate=10 \
  -f lavfi -i sine=duration=2 -c:v rv20 -q:v 5 -c:a ac3 -ac 1 "$film" || exit 1
printf 'u 0.5 1.0 http://example.com/路径 有空格.html\r\n' >"$events"
normalised_events "$events" >"$WORK/want"
write_rem_events "$dir/rem %.txt"

with="$dir/带 事件 %%.rm"
back="$dir/还原 %~dp0.rm"
if expect_ok "$WORK/add" -i "$film" -o "$with" -e "$events"; then
  if expect_ok "$WORK/dump" -i "$with" -d "$dir/导出 %1"; then
    normalised_events "$dir/导出 %1_evt.txt" | cmp -s "$WORK/want" - || fail "the dump differs from the events file"
  fi
  if expect_ok "$WORK/strip" -i "$with" -o "$back" -e "$dir/rem %.txt"; then
    same_but_data_size "$film" "$back" || fail "the stripped film is not the clip"
  fi
fi
# Relative names, from inside the folder.
cd "$dir" || exit 1
if expect_ok "$WORK/relative" -i "测试 影片 %d %s 50%.rm" -o "相对 %.rm" -e "rem %.txt"; then
  cmp "$film" "$dir/相对 %.rm" || fail "the copy through relative names differs"
fi
finish
