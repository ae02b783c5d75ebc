// The texts around the common file dialog that need no window: the remembered folder and path,
// the file buffer the dialog opens with, the filter list, and the reading of the buffer the
// dialog hands back (one full path, or a folder followed by names).
#pragma once

#include <string>
#include <string_view>

namespace files {

// The dialog's modes.
inline constexpr int kDialogOpenOne = 0;   // open one existing file
inline constexpr int kDialogOpenMany = 1;  // open several files
inline constexpr int kDialogSave = 2;      // save a file, asking before overwriting

// The reserved filter value, compared exactly, and the filter it stands for.
inline constexpr std::wstring_view kDefaultFilterName = L"DLG_Defalt_Filter";
inline constexpr std::wstring_view kDefaultFilter = L"所有文件|*.*";

// Capacity the dialog is told of for its file buffer, and the spaces after the remembered path.
inline constexpr size_t kFileBufferCapacity = 2303;
inline constexpr size_t kFileBufferPadding = 2046;

// What the dialogs remember for the rest of the run: the folder of the last selection (ending in
// "\" after a multi-selection) and the last chosen path.
struct DialogMemory {
  std::wstring lastDir;
  std::wstring lastPath;
};

// Before a dialog: without a remembered folder, the folder of the remembered path (up to and
// including its last "\"; nothing when it has none) stands in.
void PrepareDialogMemory(DialogMemory& memory);

// The file buffer a dialog opens with: the remembered path, 2046 spaces, and more spaces up to at
// least the buffer's capacity.
std::wstring InitialFileBuffer(std::wstring_view lastPath);

// The filter as the dialog takes it: every "|" a NUL, closed by two NULs.
std::wstring FilterList(std::wstring_view filter);

// Turns a multi-selection (folder NUL name NUL name ..., or one full path) into full paths joined
// by NUL, in place, and returns the folder with a trailing "\". One or two NULs at the end are
// dropped first. Names that hold a "\" stay as they are; with one full path the text stays and
// the folder is that path up to its last "\". The root of a drive gets no doubled separator.
std::wstring SplitMultiSelection(std::wstring& selection);

struct DialogReading {
  std::wstring result;        // one path, several joined by NUL, or empty
  bool tooManyFiles = false;  // the selection did not fit: the user is told so
};

// Reads the file buffer after the dialog has closed, for `mode`, and updates `memory`:
// - open one / save: the buffer up to its first NUL, spaces trimmed, is the chosen path; the
//   folder remembered is its parent, without a trailing separator. A cancelled dialog leaves the
//   buffer as filled, so the result is then the remembered path again.
// - open several: the buffer up to the first NUL of its last pair of NULs is the selection; one
//   without any "\" counts as nothing chosen, one holding the character 1 as too many files.
//   A cancelled dialog leaves no NUL pair, so the result is empty and both values are forgotten.
//   `overflowed` says the dialog itself found the selection too long for the buffer, which
//   counts the same as the character 1.
// - any other mode: nothing chosen, nothing remembered changes.
DialogReading ReadDialogBuffer(int mode, std::wstring_view buffer, DialogMemory& memory,
                               bool overflowed = false);

}  // namespace files
