// A stand-in for rmevents.exe in the size-limit tests only: for "-i IN -o OUT" it writes OUT with
// IN's size changed by the number in IN's name ("loss 199999.rm" is 199999 bytes smaller, "gain
// 5.rm" 5 bytes larger), so the cleaned copy can sit exactly at the replacement's limit. It reads
// no film and removes no events. Like the tool, it notes the film's start and end in the status
// file RMEVENTS_STATUS names.
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include <windows.h>

#include "film_status.h"

namespace {

void Note(film_status::Kind kind, int exitCode, const std::wstring& input) {
  wchar_t path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"RMEVENTS_STATUS", path, MAX_PATH) == 0) return;
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string utf8(input.size() * 3, '\0');
  utf8.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_UTF8, 0, input.c_str(), static_cast<int>(input.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr)));
  const std::string line = film_status::Format({kind, exitCode, 0, utf8});
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

int SizeDouble(const std::wstring& in, const std::wstring& out);

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring in, out;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"-i") in = argv[i + 1];
    if (std::wstring(argv[i]) == L"-o") out = argv[i + 1];
  }
  Note(film_status::Kind::kStarted, -1, in);
  const int code = SizeDouble(in, out);
  Note(code == 0 ? film_status::Kind::kDone : film_status::Kind::kFailed, code, in);
  return code;
}

namespace {

int SizeDouble(const std::wstring& in, const std::wstring& out) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (in.empty() || out.empty() ||
      !GetFileAttributesExW(in.c_str(), GetFileExInfoStandard, &data)) {
    std::printf("size double: no input\r\n");
    return 2;
  }
  const std::wstring name = in.substr(in.find_last_of(L"\\/") + 1);
  long long change = 0;
  if (name.rfind(L"loss ", 0) == 0) change = -std::wcstoll(name.c_str() + 5, nullptr, 10);
  if (name.rfind(L"gain ", 0) == 0) change = std::wcstoll(name.c_str() + 5, nullptr, 10);
  const long long size = static_cast<long long>(data.nFileSizeLow) + change;
  if (size < 0) return 3;

  HANDLE file = CreateFileW(out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 5;
  const std::vector<char> bytes(static_cast<size_t>(size), 'c');
  DWORD written = 0;
  const bool ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                             &written, nullptr);
  CloseHandle(file);
  std::printf("size double: %lld bytes\r\n", size);
  return ok ? 0 : 5;
}

}  // namespace
