#include "platform/own_program.h"

#include <windows.h>

namespace platform {

std::wstring OwnProgramFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    // The path was cut to fit: try again with room to spare (long paths reach 32767 characters).
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace platform
