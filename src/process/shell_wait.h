// Starting a command line as a new process and waiting for its end while the program's window
// keeps handling its events.
#pragma once

#include <string>

#include <windows.h>

#include "platform/message_pump.h"
#include "platform/unique_handle.h"

namespace process {

// SW_HIDE: how the clearing run starts its batch file.
inline constexpr int kHidden = SW_HIDE;

struct StartedProcess {
  platform::UniqueHandle handle;  // empty when the start failed
  DWORD id = 0;
};

// Starts `commandLine` exactly as given (no quoting added) with `windowStyle` as the new
// program's show style. With `program` (a full path) that file runs and nothing is searched;
// without it Windows takes the program from the start of the line.
[[nodiscard]] StartedProcess StartProcess(const std::wstring& commandLine, int windowStyle,
                                          const std::wstring& program = {});

// Returns once `process` waits for its user's input (it has shown its window and read what it
// opens), when it ends, or after `longestMs`, whichever comes first; the calling thread's window
// events are handled meanwhile. A process that never waits for input (a console program) ends the
// wait at once.
void WaitUntilReady(HANDLE process, DWORD longestMs);

// Starts `commandLine` with `windowStyle` and returns when the process has ended, handling window
// events meanwhile, so the caller's handlers may run before it returns. The result is the process
// id, or 0 when the start failed (after one round of pending events). The wait is on the process
// handle, so the call returns as soon as the process ends, whatever its exit code. A tick runs
// as platform::WaitPumping runs it, while the process lasts.
DWORD ShellWait(const std::wstring& commandLine, int windowStyle,
                const platform::WaitTick& tick = {});

}  // namespace process
