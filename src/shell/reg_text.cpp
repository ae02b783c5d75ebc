#include "shell/reg_text.h"

namespace shell::reg {

std::wstring RegValueText(const RegValue& value) {
  if (const auto* text = std::get_if<std::wstring>(&value)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_wstring(*number);
  return {};
}

std::wstring JoinRegPath(std::wstring_view parent, std::wstring_view name) {
  std::wstring path(parent);
  if (!path.empty()) path += L'\\';
  path += name;
  return path;
}

std::wstring TrimAtNull(std::wstring_view text) {
  return std::wstring(text.substr(0, text.find(L'\0')));
}

std::wstring MultiSzDataToText(std::wstring_view data) {
  // Pairs are taken left to right without overlap, so three NULs in a row leave one behind.
  std::wstring paired;
  paired.reserve(data.size());
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] == L'\0' && i + 1 < data.size() && data[i + 1] == L'\0') {
      ++i;
      continue;
    }
    paired += data[i];
  }
  std::wstring text;
  text.reserve(paired.size() + paired.size() / 4);
  for (wchar_t c : paired) {
    if (c == L'\0') {
      text += L"\r\n";
    } else {
      text += c;
    }
  }
  return text;
}

std::wstring SzDataToText(std::wstring_view data) {
  const size_t lastNul = data.rfind(L'\0');
  return std::wstring(lastNul == std::wstring_view::npos ? data : data.substr(0, lastNul));
}

std::wstring TextToMultiSzData(std::wstring_view text) {
  std::wstring data;
  data.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
      data += L'\0';
      ++i;
    } else {
      data += text[i];
    }
  }
  return data;
}

}  // namespace shell::reg
