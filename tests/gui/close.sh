#!/usr/bin/env bash
# Closing the main window ends the program at once, whatever the list holds.
source "$(dirname "$0")/lib.sh"

start_quellin
q add 'D:\视频\a.rm' 'D:\v\b.rmvb'
check "WM_CLOSE ends the process with exit code 0" "ended exit=0" "$(q close 5)"
pid=

finish
