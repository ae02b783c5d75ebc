#include "platform/temp_folder.h"

#include <windows.h>

namespace platform {

std::wstring TempFolder() {
  std::wstring value(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetEnvironmentVariableW(L"TMP", value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    // Too small (or the variable grew in between): `length` is the size needed, terminator
    // included.
    value.resize(length);
  }
}

}  // namespace platform
