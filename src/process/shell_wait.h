// Starting a command line as a new process and waiting for its end while the program's window
// keeps handling its events.
#pragma once

#include <string>

#include <windows.h>

#include "platform/unique_handle.h"

namespace process {

// SW_HIDE: how the clearing run starts its batch file.
inline constexpr int kHidden = SW_HIDE;

struct StartedProcess {
  platform::UniqueHandle handle;  // empty when the start failed
  DWORD id = 0;
};

// Starts `commandLine` exactly as given (no quoting added; a bare batch file path runs through the
// command interpreter) with `windowStyle` as the new program's show style.
[[nodiscard]] StartedProcess StartProcess(const std::wstring& commandLine, int windowStyle);

// Returns once `process` has ended. Meanwhile the calling thread's messages are handled at once
// as they arrive, and the thread never blocks for more than about 100 ms at a stretch. After a
// WM_QUIT (left in the queue for the caller's loop) it still waits for the end, handling only the
// messages that come before the quit.
void WaitPumping(HANDLE process);

// Starts `commandLine` with `windowStyle` and returns when the process has ended, handling window
// events meanwhile, so the caller's handlers may run before it returns. The result is the process
// id, or 0 when the start failed (after one round of pending events). The wait is on the process
// handle, so the call returns as soon as the process ends, whatever its exit code.
DWORD ShellWait(const std::wstring& commandLine, int windowStyle);

}  // namespace process
