// The per-user settings store: text values addressed by application, section and key. Each
// section is a registry key below HKEY_CURRENT_USER, Software\Quellin\<application>\<section>,
// holding one REG_SZ value per key.
#pragma once

#include <string>
#include <string_view>

namespace startup {

// The key below HKEY_CURRENT_USER that holds one application's section.
[[nodiscard]] std::wstring SettingsKeyPath(std::wstring_view application,
                                           std::wstring_view section);

// The stored text, or `defaultValue` when the key is missing or cannot be read.
[[nodiscard]] std::wstring GetSetting(std::wstring_view application, std::wstring_view section,
                                      std::wstring_view key, std::wstring_view defaultValue);

// Stores `value`, creating the application and section as needed. False when it could not.
[[nodiscard]] bool SaveSetting(std::wstring_view application, std::wstring_view section,
                               std::wstring_view key, std::wstring_view value);

}  // namespace startup
