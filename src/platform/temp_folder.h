// The TMP variable, which the clearing run and the start-up extraction both work in.
#pragma once

#include <string>

namespace platform {

// The value of TMP, read afresh; empty when it is not set.
std::wstring TempFolder();

}  // namespace platform
