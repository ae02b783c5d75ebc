// How the main window and its controls are known from outside the window's own code: its window
// class and the control ids. The GUI test driver finds them by these, never by a caption.
#pragma once

namespace ui {

inline constexpr wchar_t kMainWindowClass[] = L"QuellinMain";

// In tab order. None of them is IDOK or IDCANCEL: the dialog key handling sends those two for
// Enter and Esc, and neither key should press a button of this window.
inline constexpr int kIdList = 101;      // L, the file list
inline constexpr int kIdCommand1 = 102;  // add files
inline constexpr int kIdCommand2 = 103;  // clear the events
inline constexpr int kIdCh = 104;        // save under the same file name
inline constexpr int kIdCommand3 = 105;  // empty the list
inline constexpr int kIdCheck1 = 106;    // Explorer right-click entry
inline constexpr int kIdCommand4 = 107;  // About

// The notification icon's menu during a one-shot run: "停止清除".
inline constexpr int kIdStopRun = 120;
// What the notification icon of a one-shot run sends the (hidden) window; lParam holds the mouse
// message.
inline constexpr unsigned kTrayIconMessage = 0x8000 + 0x51;  // WM_APP + 0x51

}  // namespace ui
