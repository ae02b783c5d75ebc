// The system's own description of a Win32 error code, for the one place that shows failures to
// the user (a message box with the failure's description).
#pragma once

#include <string>

namespace platform {

// The system message for `code` in the user's language, without the trailing line break. Codes
// the system has no text for give "错误 <code>".
std::wstring ErrorText(unsigned long code);

// ErrorText of the calling thread's last error.
std::wstring LastErrorText();

}  // namespace platform
