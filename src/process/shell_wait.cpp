#include "process/shell_wait.h"

#include "platform/message_pump.h"

namespace process {

StartedProcess StartProcess(const std::wstring& commandLine, int windowStyle) {
  StartedProcess started;
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring mutableLine = commandLine;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION info = {};
  // Given a bare .bat or .cmd path, CreateProcessW itself runs it through cmd (Windows and Wine
  // alike, blanks in the unquoted path included), so the line goes through unchanged.
  if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return started;
  }
  CloseHandle(info.hThread);
  started.handle.Reset(info.hProcess);
  started.id = info.dwProcessId;
  return started;
}

DWORD ShellWait(const std::wstring& commandLine, int windowStyle) {
  const StartedProcess started = StartProcess(commandLine, windowStyle);
  if (!started.handle) {
    // A failed start still gives the window its one round of events, as every wait does.
    (void)platform::PumpPendingMessages();
    return 0;
  }
  platform::WaitPumping(started.handle.Get());
  return started.id;
}

}  // namespace process
