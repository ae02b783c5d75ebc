#!/usr/bin/env bash
# Closing the main window ends the program at once, whatever the list holds.
source "$(dirname "$0")/lib.sh"

start_quellin
q add 'D:\视频\a.rm' 'D:\v\b.rmvb'
closed=$(q close 5)
check "WM_CLOSE ends the process with exit code 0" "ended exit=0" "$closed"
# Still running: the exit handler ends it.
[ "$closed" = "ended exit=0" ] && pid=

finish
