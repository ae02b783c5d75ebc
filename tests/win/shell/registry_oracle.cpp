#include "registry_oracle.h"

#include <algorithm>

#include "platform/unique_handle.h"

namespace shell_test {
namespace {

platform::UniqueKey Open(HKEY root, const std::wstring& path) {
  platform::UniqueKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) key.Reset();
  return key;
}

std::vector<std::wstring> Names(HKEY root, const std::wstring& path, bool subKeys) {
  std::vector<std::wstring> names;
  platform::UniqueKey key = Open(root, path);
  if (!key) return names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD length = 16384;
    const LONG code =
        subKeys ? RegEnumKeyExW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr)
                : RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (code != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void Snapshot(HKEY root, const std::wstring& path, const std::wstring& relative,
              std::wstring& out) {
  out += relative + L"=" + ReadText(root, path).value_or(L"<none>") + L"\n";
  for (const std::wstring& child : SubKeys(root, path)) {
    Snapshot(root, path + L"\\" + child, relative + L"\\" + child, out);
  }
}

}  // namespace

std::optional<RawValue> ReadRaw(HKEY root, const std::wstring& path, const std::wstring& name) {
  platform::UniqueKey key = Open(root, path);
  if (!key) return std::nullopt;
  RawValue value;
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type, value.bytes.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  return value;
}

std::optional<std::wstring> ReadText(HKEY root, const std::wstring& path,
                                     const std::wstring& name) {
  const std::optional<RawValue> raw = ReadRaw(root, path, name);
  if (!raw) return std::nullopt;
  std::wstring text(raw->bytes.size() / sizeof(wchar_t), L'\0');
  std::copy(raw->bytes.begin(), raw->bytes.begin() + text.size() * sizeof(wchar_t),
            reinterpret_cast<std::uint8_t*>(text.data()));
  if (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

bool KeyExists(HKEY root, const std::wstring& path) { return static_cast<bool>(Open(root, path)); }

std::vector<std::wstring> SubKeys(HKEY root, const std::wstring& path) {
  return Names(root, path, true);
}

std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path) {
  return Names(root, path, false);
}

void PutRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
            const void* data, DWORD size) {
  platform::UniqueKey key;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(),
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

void PutText(HKEY root, const std::wstring& path, const std::wstring& name,
             const std::wstring& text) {
  PutRaw(root, path, name, REG_SZ, text.c_str(),
         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void CreateKey(HKEY root, const std::wstring& path) {
  platform::UniqueKey key;
  RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(),
                  nullptr);
}

void RemoveKey(HKEY root, const std::wstring& path) {
  RegDeleteTreeW(root, path.c_str());
  RegDeleteKeyW(root, path.c_str());
}

void RemoveValue(HKEY root, const std::wstring& path, const std::wstring& name) {
  RegDeleteKeyValueW(root, path.c_str(), name.c_str());
}

std::wstring TreeSnapshot(HKEY root, const std::wstring& path) {
  std::wstring out;
  if (KeyExists(root, path)) Snapshot(root, path, L"", out);
  return out;
}

ScratchKey::ScratchKey() {
  static int counter = 0;
  path_ = L"Software\\QuellinShellTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  RemoveKey(HKEY_CURRENT_USER, path_);
  CreateKey(HKEY_CURRENT_USER, path_);
}

ScratchKey::~ScratchKey() { RemoveKey(HKEY_CURRENT_USER, path_); }

std::wstring ScratchKey::Path(const std::wstring& below) const {
  return below.empty() ? path_ : path_ + L"\\" + below;
}

}  // namespace shell_test
