#include "process/shell_wait.h"

#include "platform/message_pump.h"

namespace process {
namespace {

// The longest stretch the wait blocks without looking at the message queue. Messages wake it at
// once; this only bounds the cases where nothing wakes it (and the quitting wait below).
constexpr DWORD kSliceMs = 100;

}  // namespace

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

void WaitPumping(HANDLE process) {
  for (;;) {
    const bool quitting = !platform::PumpPendingMessages();
    // Once WM_QUIT is pending it counts as input for good, so a message wait would return at once
    // and spin; from then on the wait sleeps on the process alone, one slice at a time.
    const DWORD result = quitting ? WaitForSingleObject(process, kSliceMs)
                                  : MsgWaitForMultipleObjectsEx(1, &process, kSliceMs, QS_ALLINPUT,
                                                                MWMO_INPUTAVAILABLE);
    if (result == WAIT_OBJECT_0 || result == WAIT_FAILED) return;
  }
}

DWORD ShellWait(const std::wstring& commandLine, int windowStyle) {
  const StartedProcess started = StartProcess(commandLine, windowStyle);
  if (!started.handle) {
    // A failed start still gives the window its one round of events, as every wait does.
    (void)platform::PumpPendingMessages();
    return 0;
  }
  WaitPumping(started.handle.Get());
  return started.id;
}

}  // namespace process
