// Merging a batch of paths into a list box, and the add-files button's whole action.
#pragma once

#include <string>

#include <windows.h>

#include "files/list_files_from_folder.h"

namespace files {

// Merges the item batch `items` (pieces joined by `separator`) into the list box `list`, as
// MergeItems describes: new paths on top in their order, then the old entries that are not in the
// batch (letter case aside, under the user's locale). With `keepExisting` false the batch replaces
// the list. Then entry `selectIndex` is selected when it is 0 or more and the list is not empty;
// otherwise nothing is selected. An empty batch changes nothing, the selection included.
// Returns the description of what failed (the list ran out of room, `selectIndex` past the last
// entry), empty when all went through; the list keeps whatever state the failure left it in.
[[nodiscard]] std::wstring AddItems(std::wstring items, HWND list, bool keepExisting,
                                    wchar_t separator, int selectIndex);

// The add-files button: gathers a batch with ListFilesFromFolder (the dialog when `folder` is
// empty, offering the folder scan), merges it on top of `list` and selects its first path. Any
// failure is shown once in a message box with the error icon; the mouse pointer is the default
// arrow afterwards in every case. True when a batch went into the list, so its selection moved.
bool AddFilesToList(HWND list, const std::wstring& folder, std::wstring patterns,
                    InputBoxFunction inputBox);

}  // namespace files
