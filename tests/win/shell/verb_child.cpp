// Stands in for the program when the shell runs a registered verb: it writes the command line it
// was started with, as UTF-16, into "<its first argument>.seen" and ends.
#include <string>

#include <windows.h>
#include <shellapi.h>

int main() {
  const wchar_t* commandLine = GetCommandLineW();
  int count = 0;
  wchar_t** args = CommandLineToArgvW(commandLine, &count);
  if (args == nullptr || count < 2) return 2;
  const std::wstring target = std::wstring(args[1]) + L".seen";
  LocalFree(args);
  HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  const DWORD size = static_cast<DWORD>(wcslen(commandLine) * sizeof(wchar_t));
  const BOOL ok = WriteFile(file, commandLine, size, &written, nullptr);
  CloseHandle(file);
  return ok && written == size ? 0 : 4;
}
