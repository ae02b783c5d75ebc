#include "platform/system_library.h"

#include <string>

#include "platform/system_folders.h"

namespace platform {

void RestrictLibrarySearchToSystem() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  // kernel32 is mapped from the system folder by the system itself, so looking it up is safe.
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return;
  const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (restrict != nullptr) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE SystemLibrary(const wchar_t* name) {
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Windows 7 without KB2533623 does not know the flag and refuses it as a parameter: the full
  // path then names the one file, and the altered search finds its own imports beside it, in the
  // system folder, rather than beside the program.
  if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
    const std::wstring path = SystemFolderFile(name);
    if (!path.empty())
      module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  // A library once loaded stays loaded, so repeated calls only raise its load count; the callers
  // keep what they need in statics and never free it.
  return module;
}

}  // namespace platform
