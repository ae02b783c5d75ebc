// How long ShellWait takes to return after its process has ended, against the exit-code poll with
// 100 ms sleeps that a simpler wait would use, measured on the same short processes in one run.
//
//   shell_wait_bench [COUNT] [COMMAND LINE]     defaults: 100, "cmd.exe /c exit"
//
// The delay of one wait is the moment it returned minus the process's exit time from
// GetProcessTimes, both on the system clock. ShellWait is StartProcess followed by
// platform::WaitPumping; the delay rounds call these two directly so that the process handle stays
// open for GetProcessTimes. Separate rounds time whole ShellWait calls, start to return.
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include <windows.h>

#include "exit_clock.h"
#include "platform/message_pump.h"
#include "platform/unique_handle.h"
#include "process/shell_wait.h"

namespace {

using bench::ExitTicks;
using bench::Now;

// The reference: read the exit code, handle pending events, sleep 100 ms, and go round again
// while the code read before the sleep was STILL_ACTIVE.
void PollWait(DWORD pid) {
  platform::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
  DWORD code = 0;
  do {
    if (!GetExitCodeProcess(process.Get(), &code)) code = 0;
    (void)platform::PumpPendingMessages();
    Sleep(100);
  } while (code == STILL_ACTIVE);
}

struct Sample {
  double returnDelayMs = 0;  // return time minus the process's exit time
  double callMs = 0;         // start of the call to its return
};

struct Figures {
  double median;
  double p90;
  double max;
};

Figures Summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const double median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values[(n * 9) / 10 < n ? (n * 9) / 10 : n - 1], values.back()};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int count = argc > 1 ? std::max(1, _wtoi(argv[1])) : 100;
  const std::wstring commandLine = argc > 2 ? argv[2] : L"cmd.exe /c exit";

  // A window of this thread, so the pumps have a real queue to look at, as in the program.
  HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);

  std::vector<double> waitDelay, pollDelay, shellWaitCall, pollCall;
  for (int i = 0; i < count; ++i) {
    // The wait ShellWait uses, on the process handle.
    {
      const process::StartedProcess started = process::StartProcess(commandLine, SW_HIDE);
      if (!started.handle) {
        std::fwprintf(stderr, L"cannot start: %ls\n", commandLine.c_str());
        return 2;
      }
      (void)platform::WaitPumping(started.handle.Get());
      const long long returned = Now();
      waitDelay.push_back((returned - ExitTicks(started.handle.Get())) / 1e4);
    }
    // The reference poll, on a process started the same way.
    {
      const long long begin = Now();
      const process::StartedProcess started = process::StartProcess(commandLine, SW_HIDE);
      PollWait(started.id);
      const long long returned = Now();
      pollDelay.push_back((returned - ExitTicks(started.handle.Get())) / 1e4);
      pollCall.push_back((returned - begin) / 1e4);
    }
    // A whole ShellWait call, as the clearing run makes it.
    {
      const long long begin = Now();
      if (process::ShellWait(commandLine, SW_HIDE) == 0) return 2;
      shellWaitCall.push_back((Now() - begin) / 1e4);
    }
  }
  DestroyWindow(window);

  const Figures wait = Summarise(waitDelay);
  const Figures poll = Summarise(pollDelay);
  const Figures call = Summarise(shellWaitCall);
  const Figures pollWhole = Summarise(pollCall);
  std::printf("ShellWait return delay after the process ends, %d processes of \"%ls\" each:\n",
              count, commandLine.c_str());
  std::printf("  %-28s median %8.3f ms   p90 %8.3f ms   max %8.3f ms\n",
              "handle wait (ShellWait):", wait.median, wait.p90, wait.max);
  std::printf("  %-28s median %8.3f ms   p90 %8.3f ms   max %8.3f ms\n",
              "100 ms exit-code poll:", poll.median, poll.p90, poll.max);
  std::printf("  ratio of medians (poll / handle wait): %.0fx\n",
              poll.median / std::max(wait.median, 0.001));
  std::printf("Whole call, start to return:\n");
  std::printf("  %-28s median %8.3f ms\n", "ShellWait:", call.median);
  std::printf("  %-28s median %8.3f ms\n", "start + 100 ms poll:", pollWhole.median);
  std::printf("  ratio of medians (poll / ShellWait): %.2fx\n",
              pollWhole.median / std::max(call.median, 0.001));
  return 0;
}
