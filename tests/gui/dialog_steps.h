// Working the dialogs Quellin opens (the open dialog, message boxes, the pattern box) from the
// driver, the way a user would. A dialog is the enabled, visible #32770 window of the main
// window's thread: the enabled one is the topmost modal dialog.
#pragma once

#include <string>

#include <windows.h>

namespace gui {

// In the open dialog: goes to `folder`, then types `names` (quoted and blank-separated for
// several) into the file name box and presses Open, as typing and Enter would. True once the
// dialog has closed.
bool PickFiles(HWND window, const std::wstring& folder, const std::wstring& names);

// The dialog's caption, its message (the longest static text) and its default button, one per
// line: "caption=...", "text=...", "default=ID"; for the pattern box "prompt=...", "edit=...",
// "at=X,Y" and "screen=W,H,DPI" instead of the text. "none" when no dialog appears within
// `seconds`.
std::wstring DescribeDialog(HWND window, double seconds);

// Presses button `id` of the dialog without waiting for what it does.
bool PressInDialog(HWND window, int id);

// Types `text` into the pattern box's edit box and presses OK.
bool AnswerInputBox(HWND window, const std::wstring& text);

}  // namespace gui
