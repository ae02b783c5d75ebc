// The progress of one run on its view, read from ret.txt while the batch writes it. The run asks
// it at the ticks of its wait, on its own thread: no thread of its own, no lock on the report.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/message_pump.h"
#include "platform/unique_handle.h"
#include "run/film_outcome.h"
#include "run/run_progress.h"

namespace run {

// How often the run looks at ret.txt while its batch goes: often enough for a count that keeps
// up with the films, rarely enough to cost nothing next to the tool's own work.
inline constexpr DWORD kProgressPollMs = 250;

// Every call does nothing without a view; the view's End comes however the run ends.
class ReportWatch {
 public:
  explicit ReportWatch(ProgressView* view);
  ~ReportWatch();
  ReportWatch(const ReportWatch&) = delete;
  ReportWatch& operator=(const ReportWatch&) = delete;

  // The run waits its turn behind another run.
  void Waiting();
  // The batch is about to start over `total` films, reporting into `reportPath`: shows 0 of them
  // and gives the tick for the batch's wait.
  [[nodiscard]] platform::WaitTick BatchStarting(const std::wstring& reportPath, size_t total);
  // One look at what ret.txt has grown by, and the count on the view.
  void Poll() noexcept;
  // The batch has ended: one last look (its last film may have ended after the last tick), and
  // the report is let go.
  void BatchEnded() noexcept;
  // What became of the films, for the view's end.
  void Judged(const std::vector<FilmOutcome>& outcomes);

  [[nodiscard]] size_t Finished() const { return progress_.Finished(); }

 private:
  void ReadNew();

  ProgressView* view_;
  std::wstring path_;
  size_t total_ = 0;
  FILETIME started_ = {};
  // Kept open between looks, sharing read, write and delete, so each look costs only the reading.
  platform::UniqueHandle file_;
  bool fresh_ = false;  // written since the batch started
  ReportProgress progress_;
  unsigned long long offset_ = 0;
  bool allCleaned_ = true;
};

}  // namespace run
