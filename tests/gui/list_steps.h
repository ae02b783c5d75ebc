// The mouse and the keyboard on Quellin's file list, from the driver. Mouse and key messages are
// posted to the list in client coordinates, as the system's input would deliver them, each
// followed by a wait until the program's own loop has taken it. Each step returns false when the
// program has not taken a message within 10 s, so the caller fails there and then instead of
// judging a list that has not caught up.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace gui {

// The middle of entry `index` of `list`, in screen coordinates.
POINT EntryOnScreen(HWND list, int index);

// Presses the buttons `buttons` (MK_LBUTTON, MK_RBUTTON or both) on entry `from`, moves over
// each entry of `over` in turn with them held, and lets go.
[[nodiscard]] bool DragOverEntries(HWND list, int from, const std::vector<int>& over,
                                   WPARAM buttons);

// A left click on entry `index`.
[[nodiscard]] bool ClickEntry(HWND list, int index);

// Key `key` pressed and released on the list, with `modifier` (VK_SHIFT, VK_CONTROL or 0) held.
[[nodiscard]] bool PressKey(HWND list, UINT key, UINT modifier);

// The text the list's tool tip shows for the list.
std::wstring ToolTipTextOf(HWND window, HWND list);

}  // namespace gui
