// A stand-in for rmevents.exe in the size-limit tests only: for "-i IN -o OUT" it writes OUT with
// IN's size changed by the number in IN's name ("loss 199999.rm" is 199999 bytes smaller, "gain
// 5.rm" 5 bytes larger), so the cleaned copy can sit exactly at the replacement's limit. It reads
// no film and removes no events.
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  std::wstring in, out;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"-i") in = argv[i + 1];
    if (std::wstring(argv[i]) == L"-o") out = argv[i + 1];
  }
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
