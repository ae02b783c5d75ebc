// The room left on a Windows volume, and the long names the UTF-8 report shows.
#include "file_io.h"
#include "film_status.h"

#include <cstdlib>
#include <cstring>
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

Path NameToShow(const Path& path) {
  const char* encoding = std::getenv(film_status::kReportEncodingVariable);
  if (encoding == nullptr || std::strcmp(encoding, film_status::kUtf8Report) != 0) return path;
  const DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::wstring name(size, L'\0');
  const DWORD length = GetLongPathNameW(path.c_str(), name.data(), size);
  if (length == 0 || length >= size) return path;
  name.resize(length);
  return Path(name);
}

}  // namespace rmevents
