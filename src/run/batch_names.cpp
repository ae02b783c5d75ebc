#include "run/batch_names.h"

#include <windows.h>

#include "platform/text_conversion.h"

namespace run {
namespace {

std::wstring ShortName(const std::wstring& path) {
  const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring name(needed, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), name.data(), needed);
  if (length == 0 || length >= needed) return {};
  name.resize(length);
  return name;
}

}  // namespace

unsigned BatchCodePage() { return GetOEMCP(); }

std::optional<std::wstring> BatchName(const std::wstring& entry, unsigned codePage) {
  if (platform::ToCodePageExactly(entry, codePage)) return entry;
  const std::wstring shortName = ShortName(entry);
  if (!shortName.empty() && platform::ToCodePageExactly(shortName, codePage)) return shortName;
  return std::nullopt;
}

}  // namespace run
