// The About window's computed texts. Nothing here needs Windows, so the rules are tested natively.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// Who signs the About window: its caption and the platform's About box carry the name.
inline constexpr std::wstring_view kAboutAuthor = L"Ostrelo";

// Shown in place of a contact the build did not set.
inline constexpr std::wstring_view kNotGiven = L"未提供";

// "关于 " + program name + " --By Ostrelo".
[[nodiscard]] std::wstring AboutCaption(std::wstring_view programName);

// "Ver: major.minor.revision", each number in decimal without leading zeros.
[[nodiscard]] std::wstring VersionText(int major, int minor, int revision);

// The version record keeps a description on one line, with the two characters "\" "n" where a
// line breaks; each such pair becomes CR LF. Everything else is kept as it is.
[[nodiscard]] std::wstring ExpandLineBreaks(std::wstring_view description);

// A contact as the window shows it: the value, or kNotGiven when it is empty.
[[nodiscard]] std::wstring ContactText(std::wstring_view value);

// The command that opens `address` in the browser: explorer "address". Nothing for an empty
// address, or one holding a double quote or a control character, which would break out of the
// quotes and hand Explorer something else than the address.
[[nodiscard]] std::optional<std::wstring> HomePageCommand(std::wstring_view address);

}  // namespace ui
