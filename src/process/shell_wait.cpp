#include "process/shell_wait.h"

#include "platform/message_pump.h"

namespace process {

StartedProcess StartProcess(const std::wstring& commandLine, int windowStyle,
                            const std::wstring& program) {
  StartedProcess started;
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring mutableLine = commandLine;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(program.empty() ? nullptr : program.c_str(), mutableLine.data(), nullptr,
                      nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return started;
  }
  CloseHandle(info.hThread);
  started.handle.Reset(info.hProcess);
  started.id = info.dwProcessId;
  return started;
}

void WaitUntilReady(HANDLE process, DWORD longestMs) {
  // WaitForInputIdle cannot take the thread's own messages too, so it is asked in short slices.
  constexpr DWORD kSliceMs = 50;
  const ULONGLONG giveUp = GetTickCount64() + longestMs;
  while (WaitForInputIdle(process, kSliceMs) == WAIT_TIMEOUT && GetTickCount64() < giveUp) {
    if (!platform::PumpPendingMessages()) return;
  }
}

DWORD ShellWait(const std::wstring& commandLine, int windowStyle, const platform::WaitTick& tick) {
  const StartedProcess started = StartProcess(commandLine, windowStyle);
  if (!started.handle) {
    // A failed start still gives the window its one round of events, as every wait does.
    (void)platform::PumpPendingMessages();
    return 0;
  }
  (void)platform::WaitPumping(started.handle.Get(), tick);
  return started.id;
}

}  // namespace process
