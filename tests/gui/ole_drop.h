// Dropping onto Quellin's window the way Explorer drops files: an OLE drag and drop from this
// process, with the pointer placed over the target first.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace gui {

// Drags `paths` as the shell's file list (CF_HDROP) to the screen point `at` over the window
// `target` and drops them there. Returns the drop's outcome, e.g. "result=drop effect=copy", and
// " under-pointer=CLASS" when another window was under the pointer at the drop.
std::wstring DropFiles(HWND target, POINT at, const std::vector<std::wstring>& paths);

// The same with plain text (CF_UNICODETEXT) instead of a file list.
std::wstring DropText(HWND target, POINT at, const std::wstring& text);

}  // namespace gui
