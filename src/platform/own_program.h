// Where the running program lives on disk.
#pragma once

#include <string>

namespace platform {

// The running executable's full path as the system reports it; empty when it cannot be read.
[[nodiscard]] std::wstring OwnProgramFile();

}  // namespace platform
