// What a user sees of the main window, as lines of text the test scripts compare with the
// expected ones. Captions are read as UTF-16 and written out as UTF-8.
#pragma once

#include <string>

#include <windows.h>

namespace gui {

// Caption, client size and the frame's style, one fact per line.
std::wstring DescribeWindow(HWND window);

// The window's screen rectangle: "X Y W H".
std::wstring DescribeGeometry(HWND window);

// One line per control in tab order: id, class, caption, position and size in the window's
// client area, and the style bits and states that matter for the kind.
std::wstring DescribeControls(HWND window);

// The tool tips the window owns: the control each tool stands for and how it is attached.
std::wstring DescribeToolTips(HWND window);

}  // namespace gui
