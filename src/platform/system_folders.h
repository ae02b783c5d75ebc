// Programs of Windows itself by their full path. Started by a bare name, Windows would look in
// this program's folder and the current folder first, so a notepad.exe lying beside a downloaded
// Quellin.exe would run in the real one's place.
#pragma once

#include <string>

namespace platform {

// `name` in the system folder (System32; SysWOW64 for a 32-bit program on 64-bit Windows, which
// holds the same programs). Empty when the folder cannot be read.
[[nodiscard]] std::wstring SystemFolderFile(const std::wstring& name);

// `name` in the Windows folder, where explorer.exe lives. Empty when the folder cannot be read.
[[nodiscard]] std::wstring WindowsFolderFile(const std::wstring& name);

}  // namespace platform
