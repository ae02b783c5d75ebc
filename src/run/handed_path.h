// Film names another start hands over by message. The command line cannot carry a quote, but a
// message can carry anything, and a name goes into Go.bat: only names that can be nothing but a
// film's full path are taken.
#pragma once

#include <string_view>

namespace run {

// Whether `path` has the form of a full path ("D:\..." or "\\server\share\...") and holds none of
// the characters that could end its quotes or its line in the batch, or that no file name holds:
// '"', '<', '>', '|', '*', '?', and control characters (CR and LF among them).
[[nodiscard]] bool IsCleanFullPath(std::wstring_view path);

}  // namespace run
