// Entry point on Windows. Arguments come from the wide command line (wmain), so film names with
// Chinese characters survive whatever the ANSI code page is. The report goes out in the ANSI code
// page with CR LF line ends: Quellin redirects it into a file that the user opens in Notepad.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include <windows.h>

#include "guarded_run.h"

namespace {

std::string Utf8ToAnsi(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int wideLength =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      wideLength);
  const int ansiLength =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(ansiLength), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), ansiLength, nullptr,
                      nullptr);
  return ansi;
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

// Bytes out of the film are already in the producer's (ANSI) code page and pass unchanged.
void Print(const rmevents::Report& report) {
  std::string out;
  for (const auto& segment : report.Segments()) {
    out += segment.raw ? segment.bytes : WithCrLf(Utf8ToAnsi(segment.bytes));
  }
  _setmode(_fileno(stdout), _O_BINARY);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  return rmevents::RunAndPrint(std::vector<rmevents::NativeString>(argv + 1, argv + argc), Print);
}
