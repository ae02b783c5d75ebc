#!/usr/bin/env bash
# Dragging an entry with the left button: each move swaps it with the entry now under the
# pointer, so it travels with the pointer. Other buttons do not reorder. The mouse is worked with
# posted button and move messages at the entries' positions.
source "$(dirname "$0")/lib.sh"

start_quellin
q add 'a.rm' 'b.rm' 'c.rm' 'd.rm' 'e.rm'

q click-entry 2
check "a click puts the entry's full path into the list's tool tip" '[c.rm]' "$(q tooltip-text)"

q drag 1 2 3
check "pressed on the 2nd of five and moved over the 3rd, then the 4th: it ends 4th" \
'count=5
[a.rm]
[c.rm]
[d.rm]
[b.rm]
[e.rm]
3' "$(q list; q selected)"

q drag 1
check "pressing and letting go without moving changes no order" \
'[a.rm] [c.rm] [d.rm] [b.rm] [e.rm]' "$(q list | tail -n +2 | tr '\n' ' ' | sed 's/ $//')"

q drag 0 1 2 --right
check "moving with the right button held does not reorder" \
'[a.rm] [c.rm] [d.rm] [b.rm] [e.rm]' "$(q list | tail -n +2 | tr '\n' ' ' | sed 's/ $//')"

q drag 0 1 2 --both
check "nor with both buttons held" \
'[a.rm] [c.rm] [d.rm] [b.rm] [e.rm]' "$(q list | tail -n +2 | tr '\n' ' ' | sed 's/ $//')"

q drag 0 4
check "landing straight on a farther entry swaps only those two" \
'[e.rm] [c.rm] [d.rm] [b.rm] [a.rm] 4' \
  "$(q list | tail -n +2 | tr '\n' ' ')$(q selected)"

finish
