// The lock over one TMP's run files. Explorer starts one Quellin per selected film, all at once;
// without it they would run each other's half-written Go.bat, cut each other's ret.txt and write
// the same copies. A run holds it from writing Go.bat until its report is shown, and start-up
// holds it while it writes rmevents.exe, so no batch runs a half-written tool.
#pragma once

#include <string>
#include <string_view>

#include "platform/named_mutex.h"

namespace run {

// TempFolderKey of `tempFolder` folded as Windows compares folder names: without regard to case.
[[nodiscard]] std::wstring KeyOfTempFolder(std::wstring_view tempFolder);

class RunLock : public platform::NamedMutex {
 public:
  explicit RunLock(std::wstring_view tempFolder);
};

}  // namespace run
