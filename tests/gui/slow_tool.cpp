// A stand-in for rmevents.exe that takes its time, for the tests of runs that overlap in time: it
// notes "start IN" in TMP\tool-log.txt, sleeps SLOW_TOOL_MS milliseconds (500 without it), runs
// the real tool lying beside it as rmevents-real.exe with the same arguments and standard
// streams, notes "end IN" and ends with the real tool's exit code. The log shows whether two
// runs ever had their tools going at once.
#include <cstdlib>
#include <string>

#include <windows.h>

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

void Note(const std::wstring& text) {
  const std::wstring path = Environment(L"TMP") + L"\\tool-log.txt";
  HANDLE log = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, 0, nullptr);
  if (log == INVALID_HANDLE_VALUE) return;
  const std::wstring line = text + L"\r\n";
  const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), size,
                      nullptr, nullptr);
  DWORD written = 0;
  WriteFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(log);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring in;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"-i") in = argv[i + 1];
  }
  Note(L"start " + in);
  const std::wstring delay = Environment(L"SLOW_TOOL_MS");
  Sleep(delay.empty() ? 500 : static_cast<DWORD>(std::wcstoul(delay.c_str(), nullptr, 10)));

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring real = self;
  real = real.substr(0, real.find_last_of(L'\\') + 1) + L"rmevents-real.exe";
  std::wstring commandLine = GetCommandLineW();
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info = {};
  DWORD exitCode = 9;
  if (CreateProcessW(real.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &info)) {
    WaitForSingleObject(info.hProcess, INFINITE);
    GetExitCodeProcess(info.hProcess, &exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  Note(L"end " + in);
  return static_cast<int>(exitCode);
}
