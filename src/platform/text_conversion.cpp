#include "platform/text_conversion.h"

#include <climits>

#include <windows.h>

namespace platform {

std::string ToAnsi(std::wstring_view text) {
  // The conversion functions count in int; no text of this program comes near that size.
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string out(static_cast<size_t>(needed), '\0');
  const int written =
      WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), needed, nullptr, nullptr);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

namespace {

std::wstring FromCodePage(std::string_view text, UINT codePage) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring out(static_cast<size_t>(needed), L'\0');
  const int written = MultiByteToWideChar(codePage, 0, text.data(), length, out.data(), needed);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

}  // namespace

std::wstring FromAnsi(std::string_view text) { return FromCodePage(text, CP_ACP); }

std::wstring FromUtf8(std::string_view text) { return FromCodePage(text, CP_UTF8); }

std::string ToUtf8(std::wstring_view text) {
  return ToCodePageExactly(text, CP_UTF8).value_or(std::string());
}

std::optional<std::string> ToCodePageExactly(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return std::string();
  if (text.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(text.size());
  // UTF-8 takes no best-fit flag; every other code page is asked not to map look-alikes.
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int needed =
      WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::nullopt;
  std::string out(static_cast<size_t>(needed), '\0');
  if (WideCharToMultiByte(codePage, flags, text.data(), length, out.data(), needed, nullptr,
                          nullptr) != needed) {
    return std::nullopt;
  }
  // The way back must give the same text: a character the code page lacks came out as "?".
  const int back = MultiByteToWideChar(codePage, 0, out.data(), needed, nullptr, 0);
  std::wstring again(static_cast<size_t>(back > 0 ? back : 0), L'\0');
  if (back <= 0 ||
      MultiByteToWideChar(codePage, 0, out.data(), needed, again.data(), back) != back ||
      again != text) {
    return std::nullopt;
  }
  return out;
}

}  // namespace platform
