#include "platform/system_folders.h"

#include <windows.h>

namespace platform {
namespace {

using FolderReader = UINT(WINAPI*)(LPWSTR, UINT);

std::wstring FileIn(FolderReader read, const std::wstring& name) {
  std::wstring folder(MAX_PATH, L'\0');
  UINT length = read(folder.data(), static_cast<UINT>(folder.size()));
  if (length >= folder.size()) {
    folder.resize(length);
    length = read(folder.data(), static_cast<UINT>(folder.size()));
  }
  if (length == 0 || length >= folder.size()) return {};
  folder.resize(length);
  if (folder.back() != L'\\') folder += L'\\';
  return folder + name;
}

}  // namespace

std::wstring SystemFolderFile(const std::wstring& name) {
  return FileIn(GetSystemDirectoryW, name);
}

std::wstring WindowsFolderFile(const std::wstring& name) {
  return FileIn(GetWindowsDirectoryW, name);
}

}  // namespace platform
