#!/usr/bin/env bash
# "添加文件": the multi-select open dialog, the offer to take every like file of the folder and its
# subfolders, and the pattern box, each answered the way a user would; the picked or scanned
# paths go on top of the list, the first one selected.
source "$(dirname "$0")/lib.sh"

# The files, on Wine's Z: drive (the Linux root).
tree=$(mktemp -d)
cleanup+=("rm -rf '$tree'")
mkdir -p "$tree/sub"
touch "$tree/a.rm" "$tree/b.rmvb" "$tree/e.txt" "$tree/电影.rm" "$tree/sub/c.rm" "$tree/sub/d.RMVB"
folder="Z:$(printf %s "$tree" | tr / '\\')"

# pick FOLDER NAMES: goes to FOLDER in the open dialog and picks NAMES there; a dialog that does
# not take them ends the scenario with what the driver said.
pick() {
  local said
  said=$(q pick "$@") || { echo "FAIL the open dialog did not take the names: $said"; exit 1; }
}

start_quellin
q add 'C:\old.rm'

q click-async 102
pick "$folder" '"a.rm" "b.rmvb"'
check "the folder offer names the picked folder, with No as its default button" \
"caption=Quellin
text=要选择 $folder\\ 及其子文件夹下所有同类文件吗？
default=7" "$(q dialog)"
q press 7
q settled >/dev/null
check "No: the picked files go on top, the old entry follows" \
"count=3
[$folder\\a.rm]
[$folder\\b.rmvb]
[C:\\old.rm]" "$(q list)"
check "the first new path is selected and shown in the tool tip" \
"0 [$folder\\a.rm]" "$(q selected) $(q tooltip-text)"

q click-async 102
pick "$folder" '"电影.rm" "b.rmvb"'
q press 6
box=$(q dialog)
check "Yes: the pattern box proposes the last picked file's extension, under the program's title" \
"caption=Quellin
prompt=请输入匹配字符串，如*.jpg、jpg或pic???.jpg，多个以\";\"间隔。
edit=*.rmvb" "$(sed -n '1,3p' <<<"$box")"
# Half the screen less 3000 twips across and less 300 down, in whole twips per pixel.
IFS=, read -r width height dpi <<<"$(sed -n 's/^screen=//p' <<<"$box")"
tpp=$((1440 / dpi))
check "the pattern box opens where it is asked to" \
"at=$(( (width * tpp / 2 - 3000) / tpp )),$(( (height * tpp / 2 - 300) / tpp ))" \
"$(grep '^at=' <<<"$box")"
q answer 'rm'
q settled >/dev/null
# "rm" has no dot, so it is looked for anywhere in the name: the subfolder's files come first.
entries=$(q list)
check "the scan puts the subfolder's files first, then the folder's own, then the old entries" \
"count=6
$(printf '[%s]\n' "$folder\\sub\\c.rm" "$folder\\sub\\d.RMVB" | sort)
$(printf '[%s]\n' "$folder\\a.rm" "$folder\\b.rmvb" "$folder\\电影.rm" | sort)
[C:\\old.rm]" \
"$(sed -n 1p <<<"$entries")
$(sed -n 2,3p <<<"$entries" | sort)
$(sed -n 4,6p <<<"$entries" | sort)
$(sed -n 7p <<<"$entries")"
check "the scan's first path is selected" "0" "$(q selected)"

q click-async 102
q press 2
check "a cancelled dialog asks nothing" "none" "$(q dialog 1)"
check "and changes nothing" "$entries" "$(q list)"

q click-async 102
pick "$folder" 'e.txt'
q press 6
q press 2
q settled >/dev/null
check "cancelling the pattern box keeps the one picked file, on top" \
"[$folder\\e.txt]" "$(q list | sed -n 2p)"

finish
