// What following a run's progress costs the run: the batch of a run over FILMS films is waited for
// as the clearing run waits for it, its ticks reading the status file every 250 ms, and with the
// plain wait as the reference, alternately in each round. Each tool line of the batch starts a
// stand-in (this program, copied in as rmevents.exe) that writes the tool's lines for its film into
// the report and its status lines, the closing ones after STAND_IN_MS. Printed: the share of the
// wait's wall time spent in the polls, and the delay from the batch's end (its exit time) to the
// wait's return for both waits. A round whose polls did not count every film fails the program.
//
//   progress_poll_bench [FILMS] [ROUNDS] [STAND_IN_MS]     defaults: 20, 5, 100
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include <windows.h>

#include "exit_clock.h"
#include "files/write_text_file.h"
#include "platform/message_pump.h"
#include "platform/system_folders.h"
#include "platform/temp_folder.h"
#include "platform/text_conversion.h"
#include "process/shell_wait.h"
#include "run/batch_text.h"
#include "run/clearing_run.h"
#include "film_status.h"
#include "run/status_watch.h"

namespace {

constexpr wchar_t kDelayVariable[] = L"PROGRESS_BENCH_MS";

void Write(const std::wstring& text) {
  const std::string bytes = platform::ToAnsi(text);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

// One status line appended to the file RMEVENTS_STATUS names, as the tool appends it.
void Note(film_status::Kind kind, const std::wstring& input) {
  wchar_t path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"RMEVENTS_STATUS", path, MAX_PATH) == 0) return;
  const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = film_status::Format(
      {kind, kind == film_status::Kind::kStarted ? -1 : 0, 0, platform::ToUtf8(input)});
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

// The stand-in: the tool's lines for one film, as the tool writes them.
int StandIn(const std::wstring& input) {
  wchar_t delay[32] = {};
  GetEnvironmentVariableW(kDelayVariable, delay, 32);
  Note(film_status::Kind::kStarted, input);
  Write(L"输入文件：" + input + L"\r\n输入大小：1,000 字节\r\n");
  Sleep(static_cast<DWORD>(_wtoi(delay)));
  Write(L"已删除 3 个事件。\r\n完成。\r\n");
  Note(film_status::Kind::kDone, input);
  return 0;
}

// Keeps the count the run would show.
class CountingView final : public run::ProgressView {
 public:
  void Waiting() noexcept override {}
  void Show(size_t finished, size_t, std::wstring_view) noexcept override { finished_ = finished; }
  void End(bool) noexcept override {}
  [[nodiscard]] size_t Finished() const { return finished_; }

 private:
  size_t finished_ = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double QpcMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

struct Wait {
  double delayMs = 0;  // return minus the batch's exit time
  double wallMs = 0;   // start of the batch to the return
  double pollMs = 0;   // inside the polls
  int polls = 0;
};

// One wait for the batch; with `watch`, its ticks poll the report, each timed.
bool WaitForBatch(const std::wstring& commandLine, run::StatusWatch* watch,
                  const std::wstring& report, size_t films, Wait& wait) {
  platform::WaitTick tick;
  if (watch != nullptr) {
    const platform::WaitTick poll = watch->BatchStarting(report, films);
    tick = {poll.everyMs, [&wait, poll] {
              const double begin = QpcMs();
              poll.call();
              wait.pollMs += QpcMs() - begin;
              ++wait.polls;
            }};
  }
  const long long begin = bench::Now();
  const process::StartedProcess started = process::StartProcess(commandLine, SW_HIDE);
  if (!started.handle) return false;
  (void)platform::WaitPumping(started.handle.Get(), tick);
  const long long returned = bench::Now();
  wait.delayMs = (returned - bench::ExitTicks(started.handle.Get())) / 1e4;
  wait.wallMs = (returned - begin) / 1e4;
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wcscmp(argv[i], L"-i") == 0) return StandIn(argv[i + 1]);
  }
  const size_t films = argc > 1 ? static_cast<size_t>(std::max(1, _wtoi(argv[1]))) : 20;
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
  SetEnvironmentVariableW(kDelayVariable, argc > 3 ? argv[3] : L"100");

  // The run's files in a folder of their own under TMP, with this program as the tool.
  const std::wstring folder = platform::TempFolder() + L"\\progress_bench";
  CreateDirectoryW(folder.c_str(), nullptr);
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (!CopyFileW(self, (folder + L"\\rmevents.exe").c_str(), FALSE)) {
    std::fwprintf(stderr, L"cannot copy the stand-in into %ls\n", folder.c_str());
    return 2;
  }
  std::vector<std::wstring> entries;
  for (size_t i = 1; i <= films; ++i) {
    entries.push_back(folder + L"\\film " + std::to_wstring(i) + L".rm");
  }
  if (!files::WriteBytesFile(run::BatchFilePath(folder),
                             platform::ToAnsi(run::BatchText(folder, entries)), false)) {
    std::fwprintf(stderr, L"cannot write the batch\n");
    return 2;
  }
  const std::wstring commandLine =
      run::BatchCommandLine(platform::SystemFolderFile(L"cmd.exe"), run::BatchFilePath(folder));
  const std::wstring report = run::StatusFilePath(folder);
  SetEnvironmentVariableW(L"RMEVENTS_STATUS", report.c_str());

  // cmd echoes each line of the batch to the standard output it inherits: not into the figures.
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  const HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
  SetStdHandle(STD_OUTPUT_HANDLE, nul);
  // A window of this thread, so the waits have a real queue to look at, as in the program.
  HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
  std::vector<double> share, polledDelay, plainDelay, wallRatio, pollEach;
  for (int round = 0; round < rounds; ++round) {
    Wait plain;
    if (!WaitForBatch(commandLine, nullptr, report, films, plain)) return 2;
    CountingView view;
    Wait polled;
    {
      (void)files::WriteBytesFile(report, "", false);
      run::StatusWatch watch(&view);
      if (!WaitForBatch(commandLine, &watch, report, films, polled)) return 2;
      watch.BatchEnded();
    }
    if (view.Finished() != films) {
      SetStdHandle(STD_OUTPUT_HANDLE, output);
      std::fwprintf(stderr, L"round %d: the polls counted %zu of %zu films\n", round + 1,
                    view.Finished(), films);
      return 1;
    }
    share.push_back(polled.pollMs / polled.wallMs);
    polledDelay.push_back(polled.delayMs);
    plainDelay.push_back(plain.delayMs);
    wallRatio.push_back(polled.wallMs / plain.wallMs);
    pollEach.push_back(polled.polls > 0 ? polled.pollMs / polled.polls : 0);
  }
  DestroyWindow(window);
  SetStdHandle(STD_OUTPUT_HANDLE, output);
  CloseHandle(nul);

  std::printf("Progress polling during a batch of %zu films, %d rounds (medians):\n", films,
              rounds);
  std::printf(
      "  share of the wait spent polling the status: %.4f %% (target < 1 %%), %.3f ms a poll\n",
      Median(share) * 100, Median(pollEach));
  std::printf("  return delay after the batch's end, polled: %.3f ms (target < 5 ms)\n",
              Median(polledDelay));
  std::printf("  return delay after the batch's end, plain:  %.3f ms\n", Median(plainDelay));
  std::printf("  ratio of wall times (polled / plain wait):  %.3fx\n", Median(wallRatio));
  return 0;
}
