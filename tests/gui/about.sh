#!/usr/bin/env bash
# The About window: "..." opens it modally over the main window, laid out as drawn up at 96 DPI,
# with the texts it loads from the program's own version record. Esc closes it from whichever
# control has the focus and other keys do not; the close box closes it too; every opening loads
# it anew and beeps; "Inf" opens the platform's About box over it.
source "$(dirname "$0")/lib.sh"

# The beep is seen as a call to MessageBeep in Wine's relay trace of the program, which traces
# that one function only.
relay_key='HKCU\Software\Wine\Debug'
timeout 20 "$wine_run" reg add "$relay_key" /v RelayInclude /d user32.MessageBeep /f \
  </dev/null >/dev/null 2>&1
quellin_stderr=$(mktemp)
cleanup+=("rm -f '$quellin_stderr'"
          "timeout 20 '$wine_run' reg delete '$relay_key' /v RelayInclude /f </dev/null >/dev/null 2>&1")
beeps() { grep -c 'Call user32.MessageBeep' "$quellin_stderr"; }

set_dpi default
WINEDEBUG=+relay start_quellin

q click-async 107
first=$(q about-wait)
check "\"...\" opens the About window" "yes" "$([ -n "$first" ] && echo yes)"
check "a fixed tool window centred on the screen, owned by the disabled main window" \
"caption=关于 Quellin --By Ostrelo
client=312x222
caption-bar=1
sizing-border=0
sysmenu=1
minimize-box=0
maximize-box=0
controlparent=1
owned=1
toolwindow=1
owner=QuellinMain
owner-enabled=0
centred=1" "$(q about-window)"

# Twips divided by 15. Label1, Label2 and Text2 come from the version record; the contact data
# is not set in this build, so it reads "not given".
check "controls with their texts and places" \
'201 Static "" 27,14 43x43 tabstop=0 visible=1 flat=0 icon=1 notify=0
202 Static "Quellin" 182,2 125x15 tabstop=0 visible=1 flat=0 icon=0 notify=1
203 Static "Ver: 1.0.0" 182,14 125x15 tabstop=0 visible=1 flat=0 icon=0 notify=1
204 Edit "去除 RM/RMVB 影片中内嵌的弹出网页事件。
由 rmevents.exe 改写影片，音视频数据原样保留。
主窗口、右键菜单和命令行均可使用。" 114,32 193x101 tabstop=1 visible=1 flat=0 readonly=1 multiline=1
205 Static "程序纯个人创作,若发现Bug 或有建议欢迎联系与交流！" 14,86 73x49 tabstop=0 visible=1 flat=0 icon=0 notify=1
206 Static "© 2026 Quellin developers" 92,150 123x9 tabstop=0 visible=1 flat=0 icon=0 notify=1
207 Static "主页：" 40,165 85x15 tabstop=0 visible=1 flat=0 icon=0 notify=1
208 Static "未提供" 126,165 181x15 tabstop=0 visible=1 flat=0 icon=0 notify=1
209 Static "Email：" 40,179 85x15 tabstop=0 visible=1 flat=0 icon=0 notify=1
210 Edit "未提供" 126,179 97x15 tabstop=1 visible=1 flat=0 readonly=1 multiline=0
211 Static "地址：" 62,194 63x13 tabstop=0 visible=1 flat=0 icon=0 notify=1
212 Static "未提供" 124,194 157x13 tabstop=0 visible=1 flat=0 icon=0 notify=1
213 Button "Inf" 6,202 41x17 tabstop=1 visible=1 flat=0 push
214 Static "即时通讯：未提供" 40,208 127x15 tabstop=0 visible=1 flat=0 icon=0 notify=1' \
  "$(q about-controls | tr -d '\r')"
check "the description's lines end in CR LF" "2 lines broken" \
  "$(q about-text 204 | grep -c $'\r$') lines broken"
check "the home-page label has its tool tip" "[访问我的主页]" "$(q about-tooltip 208)"
check "the image shows an icon" "icon" "$(q about-icon)"
check "the e-mail address is selected when the window opens" "0 3" "$(q about-selection 210)"
check "the first opening beeps once" "1" "$(beeps)"

check "the description box has the focus" "204" "$(q about-focus)"
check "A, Enter and Space do not close it" "open open open" \
  "$(echo $(q about-key a; q about-key return; q about-key space))"
check "Tab walks the description, the e-mail box and Inf" "open 210 open 213 open 204" \
  "$(echo $(q about-key tab; q about-focus; q about-key tab; q about-focus; q about-key tab; q about-focus))"
q about-select 210 0 0
q about-dblclick 210
check "a double click selects the whole e-mail address" "0 3" "$(q about-selection 210)"

# Marks the window's texts, so the next opening shows whether they were computed again.
q about-settext 203 "stale"
q about-settext 204 "stale"
check "Esc closes it from the multi-line text box" "closed" "$(q about-key escape)"
check "the main window is enabled again" "1" "$(q enabled)"

q click-async 107
second=$(q about-wait)
check "the next opening is a new window" "new" "$([ -n "$second" ] && [ "$second" != "$first" ] && echo new)"
check "with freshly loaded texts" "[Ver: 1.0.0] [Quellin]" \
  "$(echo $(q about-text 203; q about-text 202))"
check "and a second beep" "2" "$(beeps)"
check "the close box closes it" "closed" "$(q about-close)"
check "the main window is enabled again" "1" "$(q enabled)"

q click-async 107
q about-wait >/dev/null
check "a third opening beeps again" "3" "$(beeps)"
check "Inf opens the platform's About box for Quellin over the window" "yes" \
  "$(q about-inf | grep -q Quellin && echo yes)"
check "the About window stays open after the box is closed, Inf keeps the focus" "213" \
  "$(q about-focus)"
check "Esc closes it" "closed" "$(q about-key escape)"

finish
