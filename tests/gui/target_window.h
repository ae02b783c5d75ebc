// Finding Quellin's main window and its process from the outside, the way the tests see it.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace gui {

// The top-level window of Quellin's own class; with `pid` non-zero only one of that process.
// Null when there is none.
HWND FindMainWindow(DWORD pid);

// Polls until the main window exists (and, with `visible`, is visible) or `seconds` pass.
HWND WaitForMainWindow(DWORD pid, bool visible, double seconds);

// True once Quellin's window thread has handled every message posted to its windows before the
// call; false when it has not within `seconds` (or `list`, the main window's file list, is gone).
bool WaitForPostedMessages(HWND list, double seconds = 10);

// The main window's child windows in Z order, which is the order Tab walks them.
std::vector<HWND> ChildrenInTabOrder(HWND window);

DWORD ProcessOf(HWND window);
// The control that has the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);
int ControlId(HWND control);

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

}  // namespace gui
