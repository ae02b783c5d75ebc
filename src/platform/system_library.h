// Windows' own libraries loaded from the system folder only. A library the program imported by
// name would be looked for beside Quellin.exe first (unless it is one of the few the system maps
// from the system folder itself), so a version.dll dropped into a download folder would run inside
// the program. The program therefore imports only those few and reaches every other system
// library through here.
#pragma once

#include <windows.h>

namespace platform {

// Makes the system folder the only place later loads of libraries look (user32's helpers and
// OLE included), where the system has SetDefaultDllDirectories (Windows 8, or Windows 7 with
// KB2533623); elsewhere it does nothing. Called first thing at start.
void RestrictLibrarySearchToSystem();

// `name` (e.g. L"version.dll") from the system folder, never freed (callers keep what they look up
// in statics); nullptr when it cannot be loaded.
[[nodiscard]] HMODULE SystemLibrary(const wchar_t* name);

// The function `procName` of the system library `library`, as a pointer of type `Function`;
// nullptr when the library or the function is missing.
template <typename Function>
[[nodiscard]] Function SystemFunction(const wchar_t* library, const char* procName) {
  const HMODULE module = SystemLibrary(library);
  if (module == nullptr) return nullptr;
  // The cast through a generic function pointer keeps GCC's -Wcast-function-type quiet.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, procName)));
}

}  // namespace platform
