#include "ui/about_texts.h"

#include <algorithm>

namespace ui {

std::wstring AboutCaption(std::wstring_view programName) {
  return L"关于 " + std::wstring(programName) + L" --By " + std::wstring(kAboutAuthor);
}

std::wstring VersionText(int major, int minor, int revision) {
  return L"Ver: " + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
         std::to_wstring(revision);
}

std::wstring ExpandLineBreaks(std::wstring_view description) {
  std::wstring text;
  text.reserve(description.size());
  for (std::size_t i = 0; i < description.size(); ++i) {
    if (description[i] == L'\\' && i + 1 < description.size() && description[i + 1] == L'n') {
      text += L"\r\n";
      ++i;
    } else {
      text += description[i];
    }
  }
  return text;
}

std::wstring ContactText(std::wstring_view value) {
  return std::wstring(value.empty() ? kNotGiven : value);
}

std::optional<std::wstring> HomePageCommand(std::wstring_view address) {
  const bool unsafe = std::any_of(address.begin(), address.end(),
                                  [](wchar_t c) { return c == L'"' || c < L' ' || c == 0x7F; });
  if (address.empty() || unsafe) return std::nullopt;
  return L"explorer \"" + std::wstring(address) + L"\"";
}

}  // namespace ui
