#include "platform/user_message.h"

#include <string>

namespace platform {

HWND ActiveOwner() { return GetActiveWindow(); }

int ShowUserMessage(std::wstring_view text, UINT style) {
  const std::wstring copy(text);
  return MessageBoxW(ActiveOwner(), copy.c_str(), kApplicationTitle, style);
}

}  // namespace platform
