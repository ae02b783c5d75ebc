// The common file dialogs in one operation with three modes (open one file, open several, save),
// remembering the last folder and path for the rest of the run.
#pragma once

#include <string>

#include "files/dialog_text.h"

namespace files {

// The remembered folder (DLG_LastDir) and path (DLG_LastPath): empty at start, set by every
// dialog; the folder scan reads the folder after a multi-selection.
DialogMemory& RememberedDialog();

// Shows the dialog of `mode` (kDialogOpenOne, kDialogOpenMany, kDialogSave) owned by the window in
// the foreground, opening in the remembered folder with the remembered path as file name, and
// returns:
// - open several: the chosen files as full paths joined by NUL; empty when cancelled, and then
//   both remembered values are forgotten. A selection too long for the dialog's buffer is
//   dropped, and the user is told "文件选取过多。";
// - open one or save: the chosen path; when cancelled, the remembered path;
// - any other mode: empty, with no dialog shown.
// `filter` is "name|pattern|name|pattern..."; the reserved "DLG_Defalt_Filter" is replaced, in
// the caller's variable too, by "所有文件|*.*". An empty title shows the dialog's own, an empty
// default extension adds none. Failures end in an empty result.
std::wstring ShowFileDialog(int mode, std::wstring& filter, const std::wstring& title,
                            const std::wstring& defaultExtension);

}  // namespace files
