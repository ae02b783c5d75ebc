#!/usr/bin/env bash
# Started with file names, Quellin never shows its window and ends by itself; started with an
# argument text that names no file, it opens its window as usual. The driver watches the window
# from the program's start to its end.
source "$(dirname "$0")/lib.sh"
# Each one-shot run opens Notepad on its report.
cleanup+=(end_notepads)

check "one quoted path: never shown, ends" "shown=0 exit=0" \
  "$(drv one-shot "$quellin" '"C:\films\a.rm"' 10)"
check "two quoted paths, two blanks between them (three entries), Chinese: never shown, ends" \
  "shown=0 exit=0" "$(drv one-shot "$quellin" '"C:\a b\x.rm"  "D:\视频\片 一.rmvb"' 10)"
check "an unquoted path: never shown, ends" "shown=0 exit=0" \
  "$(drv one-shot "$quellin" 'C:\films\a.rm' 10)"
# A pair of quotes alone splits into no argument at all, so this is the interactive start.
check "an argument text of only quotes: the window opens and stays" "shown=1 still-running" \
  "$(drv one-shot "$quellin" '""' 3)"

finish
