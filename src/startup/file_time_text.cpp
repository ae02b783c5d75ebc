#include "startup/file_time_text.h"

#include <windows.h>

namespace startup {
namespace {

std::optional<WIN32_FILE_ATTRIBUTE_DATA> AttributesOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return data;
}

// GetDateFormatW and GetTimeFormatW report the size they need when given no buffer.
template <typename Format>
std::optional<std::wstring> FormatText(Format format) {
  const int needed = format(nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(needed), L'\0');
  const int written = format(text.data(), needed);
  if (written <= 0) return std::nullopt;
  text.resize(static_cast<std::size_t>(written - 1));  // without the terminating NUL
  return text;
}

}  // namespace

bool IsExistingFile(const std::wstring& path) {
  const auto data = AttributesOf(path);
  return data && (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsExistingFolder(const std::wstring& path) {
  const auto data = AttributesOf(path);
  return data && (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::wstring> FileDateTimeText(const std::wstring& path) {
  const auto data = AttributesOf(path);
  if (!data || (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  // Through the time zone rules of that date rather than FileTimeToLocalFileTime, which applies
  // today's daylight-saving offset and would shift old files by an hour twice a year.
  if (!FileTimeToSystemTime(&data->ftLastWriteTime, &utc) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    return std::nullopt;
  }
  const auto date = FormatText([&](wchar_t* buffer, int size) {
    return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, buffer, size);
  });
  const auto time = FormatText([&](wchar_t* buffer, int size) {
    return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, buffer, size);
  });
  if (!date || !time) return std::nullopt;
  return *date + L" " + *time;
}

}  // namespace startup
