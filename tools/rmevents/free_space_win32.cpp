// The room left on a Windows volume.
#include "file_io.h"

#include <string>

#include <windows.h>

namespace rmevents {

std::optional<std::uint64_t> FreeSpaceBeside(const Path& file) {
  std::wstring folder = FolderOf(file).native();
  // A share's name (\\server\share) counts only with a trailing backslash.
  if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr)) return std::nullopt;
  return available.QuadPart;
}

}  // namespace rmevents
