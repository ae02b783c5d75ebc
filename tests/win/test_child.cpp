// A helper program the Windows tests start as a child process:
//   test_child sleep MS          waits MS milliseconds, then ends with exit code 0
//   test_child hold ON OFF       sets the named event ON, then waits for the named event OFF and
//                                ends with exit code 0 (3 when OFF never came within 60 s)
//   test_child startup FILE      writes "<dwFlags> <wShowWindow>" of its start-up record to FILE
//   (QUELLIN_PROBE_OUT=FILE set) writes GetArgumentsJoined("$:Command()") to FILE as UTF-16, so
//                                the whole command line is free for the arguments under test
#include <cstdlib>
#include <string>

#include <windows.h>

#include "process/get_arguments.h"

namespace {

bool WriteRaw(const wchar_t* path, const void* data, DWORD size) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, data, size, &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wchar_t probeOut[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"QUELLIN_PROBE_OUT", probeOut, MAX_PATH) > 0) {
    const std::wstring joined = process::GetArgumentsJoined(process::kOwnCommandLine);
    return WriteRaw(probeOut, joined.data(), static_cast<DWORD>(joined.size() * sizeof(wchar_t)))
               ? 0
               : 2;
  }
  if (argc == 3 && std::wstring(argv[1]) == L"sleep") {
    Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    return 0;
  }
  if (argc == 4 && std::wstring(argv[1]) == L"hold") {
    HANDLE running = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
    if (running == nullptr || release == nullptr) return 2;
    SetEvent(running);
    return WaitForSingleObject(release, 60000) == WAIT_OBJECT_0 ? 0 : 3;
  }
  if (argc == 3 && std::wstring(argv[1]) == L"startup") {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    const std::string text =
        std::to_string(startup.dwFlags) + " " + std::to_string(startup.wShowWindow);
    return WriteRaw(argv[2], text.data(), static_cast<DWORD>(text.size())) ? 0 : 2;
  }
  return 1;
}
