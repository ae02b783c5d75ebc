#include "startup/entry_name.h"

namespace startup {

EntryNameKind ClassifyEntryName(std::wstring_view name) {
  if (name.size() >= 3 && name[1] == L':' && name[2] == L'\\') return EntryNameKind::kDriveLetter;
  if (name.starts_with(L"\\\\")) return EntryNameKind::kNetwork;
  return EntryNameKind::kRelative;
}

std::wstring WithTrailingBackslash(std::wstring_view folder) {
  std::wstring result(folder);
  if (!result.empty() && !result.ends_with(L'\\')) result += L'\\';
  return result;
}

std::wstring EntryPath(std::wstring_view targetDir, std::wstring_view name) {
  if (ClassifyEntryName(name) != EntryNameKind::kRelative) return std::wstring(name);
  std::wstring path(targetDir);
  path += name;
  return path;
}

}  // namespace startup
