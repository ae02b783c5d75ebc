#!/usr/bin/env bash
# The keyboard walks the controls in their tab order: the list has the focus first, and Tab goes
# on through the buttons and check boxes and back to the list.
source "$(dirname "$0")/lib.sh"

start_quellin

check "the list (tab index 0) has the focus when the window opens" "101" "$(q focus)"
check "Tab walks 添加文件, 清除Real事件, Ch, 清空列表, Check1, ... and back to the list" \
  "102 103 104 105 106 107 101" "$(q tab 7)"

finish
