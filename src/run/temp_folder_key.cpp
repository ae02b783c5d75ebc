#include "run/temp_folder_key.h"

#include <cstdint>

namespace run {
namespace {

std::wstring Normalised(std::wstring_view folder) {
  std::wstring text(folder);
  for (wchar_t& c : text) {
    if (c == L'/') c = L'\\';
  }
  while (!text.empty() && text.back() == L'\\') text.pop_back();
  return text;
}

// FNV-1a over the UTF-16 code units: object names cannot hold "\" and are limited in length, and
// a TMP text may be long and hold anything, so the names carry a digest instead of the text.
std::uint64_t Digest(std::wstring_view text) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const wchar_t c : text) {
    const auto unit = static_cast<std::uint16_t>(c);
    for (const int shift : {0, 8}) {
      hash ^= (unit >> shift) & 0xFFu;
      hash *= 1099511628211ULL;
    }
  }
  return hash;
}

}  // namespace

std::wstring TempFolderKey(std::wstring_view foldedTempFolder) {
  static constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::uint64_t hash = Digest(Normalised(foldedTempFolder));
  std::wstring key(16, L'0');
  for (int i = 15; i >= 0; --i, hash >>= 4) key[static_cast<size_t>(i)] = kHex[hash & 0xFu];
  return key;
}

std::wstring RunLockName(std::wstring_view key) {
  return L"Local\\Quellin.Run." + std::wstring(key);
}

std::wstring GatherMutexName(std::wstring_view key) {
  return L"Local\\Quellin.Gather." + std::wstring(key);
}

std::wstring GatherWindowName(std::wstring_view key) {
  return L"Quellin.Gather." + std::wstring(key);
}

}  // namespace run
