#!/usr/bin/env bash
# The main window as a user first sees it at 96 DPI: caption, frame, client size, and each
# control's class, caption, place, tab order, flat style and initial state; the list's tool tip.
source "$(dirname "$0")/lib.sh"

set_dpi default
start_quellin

check "caption, fixed single border, minimise but no maximise box, 383 x 191 client" \
"caption=Quellin
client=383x191
caption-bar=1
sizing-border=0
sysmenu=1
minimize-box=1
maximize-box=0
controlparent=1
owned=0" "$(q window)"

# In tab order; the window's twips divided by 15. Command1 and Command3 overlap by one pixel, as
# they overlap by 15 twips in the layout, and Check1 starts one pixel left of the client area.
check "controls in tab order with their captions, places and states" \
'101 ListBox "" 0,25 382x148 tabstop=1 visible=1 flat=0 notify=1 sorted=0 single=1
102 Button "添加文件" 78,0 79x25 tabstop=1 visible=1 flat=1 push
103 Button "清除Real事件" 156,0 119x25 tabstop=1 visible=1 flat=1 push
104 Button "清除后保存为相同文件名" 194,174 187x16 tabstop=1 visible=1 flat=1 autocheckbox checked=1
105 Button "清空列表" 0,0 79x25 tabstop=1 visible=1 flat=1 push
106 Button "关联Real文件右键菜单" -1,174 145x15 tabstop=1 visible=1 flat=1 autocheckbox checked=0
107 Button "..." 359,0 24x25 tabstop=1 visible=1 flat=1 push' "$(q controls)"

check "the list has a tool tip of its own" "tool=101 idishwnd=1 subclass=1" "$(q tooltips)"
check "the list starts empty" "count=0" "$(q list)"

finish
