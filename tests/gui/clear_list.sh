#!/usr/bin/env bash
# "清空列表" empties the list at once, with no question asked, and touches nothing else. The list
# keeps its entries in the order they were added.
source "$(dirname "$0")/lib.sh"

start_quellin

q add 'z.rm' '' 'D:\视频\a b.rmvb' 'a.rm'
check "entries stay in the order they were added, the empty one and Chinese included" \
'count=4
[z.rm]
[]
[D:\视频\a b.rmvb]
[a.rm]' "$(q list)"

q click 105
check "清空列表 empties the filled list" "count=0" "$(q list)"
check "no confirmation window appears" "" "$(q dialogs)"
check "the check boxes keep their states" "1 0" "$(q getcheck 104) $(q getcheck 106)"
q click 105
check "清空列表 on an empty list leaves it empty" "count=0" "$(q list)"
check "the window stays open" "1" "$(q visible)"

finish
