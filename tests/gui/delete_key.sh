#!/usr/bin/env bash
# The Delete key removes the selected entry and selects the one that takes its place, or the new
# last entry; Shift and Ctrl make no difference.
source "$(dirname "$0")/lib.sh"

start_quellin
q add 'a.rm' 'b.rm' 'c.rm' 'd.rm'

q click-entry 0
q key delete
check "Delete on the first entry selects the one that moved up" \
'count=3
[b.rm]
[c.rm]
[d.rm]
0 [b.rm]' "$(q list; echo "$(q selected) $(q tooltip-text)")"

q click-entry 2
q key delete shift
check "Delete on the last entry, Shift held, selects the new last entry" \
'count=2
[b.rm]
[c.rm]
1' "$(q list; q selected)"

q key delete ctrl
check "Ctrl makes no difference either" '1 0 [b.rm]' \
  "$(q list | head -1 | tr -dc 0-9) $(q selected) $(q tooltip-text)"

q key delete
check "Delete on the only entry leaves an empty list with nothing selected" \
'count=0 -1' "$(q list) $(q selected)"
q key delete
check "Delete on an empty list changes nothing" 'count=0' "$(q list)"
check "no message is shown" "" "$(q dialogs)"

finish
