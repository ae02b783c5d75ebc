// shell_verb_open VERB FILE [SECONDS]: does what Explorer does when the user picks the right-click
// entry VERB on FILE (ShellExecuteExW with that verb), then waits for the started program to end.
// Prints "started exit=N", "started still-running" or "error=N".
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: shell_verb_open VERB FILE [SECONDS]\n", stderr);
    return 2;
  }
  const DWORD waitMs = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3]) * 1000) : 60000;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = argv[1];
  info.lpFile = argv[2];
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info) || info.hProcess == nullptr) {
    std::printf("error=%lu\n", GetLastError());
    return 1;
  }
  const bool ended = WaitForSingleObject(info.hProcess, waitMs) == WAIT_OBJECT_0;
  DWORD exitCode = 0;
  GetExitCodeProcess(info.hProcess, &exitCode);
  CloseHandle(info.hProcess);
  if (ended) {
    std::printf("started exit=%lu\n", exitCode);
  } else {
    std::printf("started still-running\n");
  }
  return 0;
}
