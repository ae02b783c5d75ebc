// Independent access to the registry for the shell tests: the wide-character functions, so what
// the narrow layer stored is checked as Windows itself sees it, and set-up that does not go
// through the code under test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace shell_test {

struct RawValue {
  DWORD type = 0;
  std::vector<std::uint8_t> bytes;
};

std::optional<RawValue> ReadRaw(HKEY root, const std::wstring& path, const std::wstring& name);
// A string value as text without its terminator; nullopt when key or value is missing.
std::optional<std::wstring> ReadText(HKEY root, const std::wstring& path,
                                     const std::wstring& name = L"");
bool KeyExists(HKEY root, const std::wstring& path);
// Subkey and value names, sorted.
std::vector<std::wstring> SubKeys(HKEY root, const std::wstring& path);
std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path);

void PutRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
            const void* data, DWORD size);
// A REG_SZ value with its terminator; creates the key.
void PutText(HKEY root, const std::wstring& path, const std::wstring& name,
             const std::wstring& text);
void CreateKey(HKEY root, const std::wstring& path);
// Deletes one value of the key; a missing one is fine.
void RemoveValue(HKEY root, const std::wstring& path, const std::wstring& name);
// Deletes the key with everything below it; a missing key is fine.
void RemoveKey(HKEY root, const std::wstring& path);

// Every key and default value below `path`, one "relative\path=value" line each, for comparing a
// whole tree before and after an operation.
std::wstring TreeSnapshot(HKEY root, const std::wstring& path);

// A fresh key HKEY_CURRENT_USER\Software\QuellinShellTest-<pid>-<n>, deleted at end of scope.
class ScratchKey {
 public:
  ScratchKey();
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;
  // The path below HKEY_CURRENT_USER, optionally with `below` joined on.
  std::wstring Path(const std::wstring& below = L"") const;

 private:
  std::wstring path_;
};

}  // namespace shell_test
