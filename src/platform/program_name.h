// A program's name from its path, as the settings records, the Explorer verb and the About window
// all show it.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The file name without folder and last extension, where "/" counts as "\":
// "C:\a\my.tool.exe" gives "my.tool", "tool" gives "tool".
[[nodiscard]] std::wstring ProgramName(std::wstring_view path);

}  // namespace platform
