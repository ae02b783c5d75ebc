// Gathering files: either a given folder is scanned, or the user picks files in the multi-select
// open dialog and may widen the choice to every like file of that folder and its subfolders.
#pragma once

#include <string>

#include <windows.h>

namespace files {

// Asks the user for one line of text in a modal box owned by `owner`, under the application's
// title, with its top-left corner at the given screen position in twips. Empty when cancelled.
// The window layer supplies it (the files module sits below the windows).
using InputBoxFunction = std::wstring (*)(HWND owner, const std::wstring& prompt,
                                          const std::wstring& defaultText, int leftTwips,
                                          int topTwips);

// The prompt of the pattern box.
inline constexpr wchar_t kPatternPrompt[] =
    L"请输入匹配字符串，如*.jpg、jpg或pic???.jpg，多个以\";\"间隔。";
// The multi-select dialog's title.
inline constexpr wchar_t kAddFilesTitle[] = L"选择文件(可多选)";

// Returns an item batch of full paths joined by NUL (no leading NUL), empty when nothing was
// chosen or found:
// - with a `folder`, the scan of that folder with `patterns` as given; nothing is asked;
// - otherwise the files picked in the multi-select dialog. With `askSubfolders` the user is then
//   asked whether to take every like file of the picked folder and its subfolders instead; on
//   Yes, `inputBox` asks for the patterns, proposing "*." and the last picked file's extension
//   (or "*." and `patterns` when given). An answer without "." becomes "*answer*". No, Cancel or
//   an empty answer keep the picked files, and so does Yes without an `inputBox`.
std::wstring ListFilesFromFolder(const std::wstring& folder, std::wstring patterns,
                                 bool askSubfolders, InputBoxFunction inputBox);

}  // namespace files
