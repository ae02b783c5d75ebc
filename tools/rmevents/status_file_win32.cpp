// The status file's system side on Windows.
#include "status_file.h"

#include <string>

#include <windows.h>

namespace rmevents {

Path PathFromEnvironment(const char* name) {
  const std::wstring wideName(name, name + std::char_traits<char>::length(name));
  std::wstring value(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (n == 0) return {};
    if (n < value.size()) {
      value.resize(n);
      return Path(value);
    }
    value.resize(n);  // n counts the terminating null when the buffer was too small
  }
}

std::intptr_t OpenForAppending(const Path& path, FileError& error) {
  // Append access alone: every write goes to the end of the file as it is then, so lines from
  // other writers are never overwritten. Quellin reads the file while the tool writes it (and may
  // delete it after the run).
  const HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = FromSystemCode(GetLastError());
    return -1;
  }
  return reinterpret_cast<std::intptr_t>(h);
}

// No FlushFileBuffers: a written line is visible to readers at once through the system's cache,
// and forcing it to the disk for every film would cost more than the line is worth.
bool Append(std::intptr_t handle, std::string_view bytes) {
  DWORD written = 0;
  return WriteFile(reinterpret_cast<HANDLE>(handle), bytes.data(), static_cast<DWORD>(bytes.size()),
                   &written, nullptr) &&
         written == bytes.size();
}

void CloseAppended(std::intptr_t handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

}  // namespace rmevents
