#include "files/make_path.h"

#include <windows.h>

#include "files/path_text.h"

namespace files {

void MakePath(const std::wstring& path) {
  // An existing path (file or folder) needs nothing; attributes of all zero count as missing.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && attributes != 0) return;
  for (const std::wstring& folder : FoldersAlongPath(path)) {
    // Folders that exist already fail with ERROR_ALREADY_EXISTS; others may be refused. Either
    // way the next one is tried.
    CreateDirectoryW(folder.c_str(), nullptr);
  }
}

}  // namespace files
