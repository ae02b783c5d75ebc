#include "startup/settings_store.h"

#include <windows.h>

namespace startup {

std::wstring SettingsKeyPath(std::wstring_view application, std::wstring_view section) {
  std::wstring path = L"Software\\Quellin\\";
  path += application;
  path += L'\\';
  path += section;
  return path;
}

std::wstring GetSetting(std::wstring_view application, std::wstring_view section,
                        std::wstring_view key, std::wstring_view defaultValue) {
  const std::wstring keyPath = SettingsKeyPath(application, section);
  const std::wstring valueName(key);
  // RegGetValueW opens and closes the key itself and guarantees the terminating NUL; a value
  // that grows between the two calls is simply read again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str(), RRF_RT_REG_SZ, nullptr,
                     nullptr, &bytes) != ERROR_SUCCESS) {
      break;
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    const LONG status = RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str(),
                                     RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) break;
    text.resize(bytes / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
  }
  return std::wstring(defaultValue);
}

bool SaveSetting(std::wstring_view application, std::wstring_view section, std::wstring_view key,
                 std::wstring_view value) {
  const std::wstring keyPath = SettingsKeyPath(application, section);
  const std::wstring valueName(key);
  const std::wstring data(value);
  const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  // Creates the missing keys and closes them again before it returns.
  return RegSetKeyValueW(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str(), REG_SZ,
                         data.c_str(), bytes) == ERROR_SUCCESS;
}

}  // namespace startup
