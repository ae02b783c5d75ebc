// Reading a list box's entries: the file list is read by the window's handlers, the list merge and
// the clearing run alike.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace platform {

// The text of entry `index` of `list`; empty when the entry has none or does not exist.
std::wstring ListEntryText(HWND list, int index);

// The entries of a list box, in order.
std::vector<std::wstring> ListEntries(HWND list);

}  // namespace platform
