#!/usr/bin/env bash
# Files and folders dragged from the shell onto the list (an OLE drop with the shell's file list,
# CF_HDROP) go on top, listed once whatever their letter case, and the first is selected.
source "$(dirname "$0")/lib.sh"

start_quellin
q add 'C:\V\A.RM' 'C:\w\z.rm'

check "two files dropped over an existing entry are taken" "result=drop effect=copy" \
  "$(q drop-files --at 0 'C:\v\a.rm' 'C:\v\b.rm')"
check "the dropped paths go on top, the old spelling of the one listed already is gone" \
'count=3
[C:\v\a.rm]
[C:\v\b.rm]
[C:\w\z.rm]' "$(q list)"
check "the first dropped path is selected and shown in the tool tip" \
'0 [C:\v\a.rm]' "$(q selected) $(q tooltip-text)"

check "a folder dropped on the third entry is taken" "result=drop effect=copy" \
  "$(q drop-files --at 2 'D:\电影')"
check "a dropped folder is one entry, as it stands" \
'count=4
[D:\电影]
[C:\v\a.rm]
[C:\v\b.rm]
[C:\w\z.rm]' "$(q list)"

q click-entry 3
check "text is refused while it is dragged" "result=drop effect=none" "$(q drop-text 'C:\x.rm')"
check "and changes nothing, the selection included" \
'count=4 3' "$(q list | head -1) $(q selected)"

finish
