#include "report_print.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include <windows.h>

#include "film_status.h"

namespace rmevents {

namespace {

std::wstring Widen(UINT codePage, const std::string& bytes) {
  if (bytes.empty()) return {};
  const int n =
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return wide;
}

std::string Narrow(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n,
                      nullptr, nullptr);
  return bytes;
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

bool Utf8Asked() {
  const char* value = std::getenv(film_status::kReportEncodingVariable);
  return value != nullptr && std::strcmp(value, film_status::kUtf8Report) == 0;
}

// cmd's > truncates the file it redirects to, >> appends: the mark belongs only at the start.
bool StartsEmptyFile(HANDLE output) {
  LARGE_INTEGER size{};
  return GetFileType(output) == FILE_TYPE_DISK && GetFileSizeEx(output, &size) &&
         size.QuadPart == 0;
}

}  // namespace

void WriteReport(const Report& report, std::intptr_t output) {
  const HANDLE handle = reinterpret_cast<HANDLE>(output);
  const bool utf8 = Utf8Asked();
  std::string out = utf8 && StartsEmptyFile(handle) ? "\xEF\xBB\xBF" : "";
  for (const auto& segment : report.Segments()) {
    if (!utf8) {
      out += segment.raw ? segment.bytes : WithCrLf(Narrow(CP_ACP, Widen(CP_UTF8, segment.bytes)));
    } else if (segment.raw && !IsUtf8(segment.bytes)) {
      out += Narrow(CP_UTF8, Widen(CP_ACP, segment.bytes));
    } else {
      out += segment.raw ? segment.bytes : WithCrLf(segment.bytes);
    }
  }
  for (std::size_t done = 0; done < out.size();) {
    DWORD n = 0;
    if (!WriteFile(handle, out.data() + done, static_cast<DWORD>(out.size() - done), &n, nullptr) ||
        n == 0) {
      return;  // nowhere left to say so; the exit code still tells
    }
    done += n;
  }
}

}  // namespace rmevents
