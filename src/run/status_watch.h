// The progress of one run on its view, read from the status file while the batch writes it. The
// run asks it at the ticks of its wait, on its own thread: no thread of its own, no lock on the
// file.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "film_status.h"
#include "platform/message_pump.h"
#include "platform/unique_handle.h"
#include "run/run_progress.h"

namespace run {

// How often the run looks at the status file while its batch goes: often enough for a count that
// keeps up with the films, rarely enough to cost nothing next to the tool's own work.
inline constexpr DWORD kProgressPollMs = 250;

// Every call but the reading does nothing without a view; the view's End comes however the run
// ends.
class StatusWatch {
 public:
  explicit StatusWatch(ProgressView* view);
  ~StatusWatch();
  StatusWatch(const StatusWatch&) = delete;
  StatusWatch& operator=(const StatusWatch&) = delete;

  // The run waits its turn behind another run.
  void Waiting();
  // The batch is about to start over `total` films, noting them in `statusPath` (which the run
  // has just emptied): shows 0 of them and gives the tick for the batch's wait.
  [[nodiscard]] platform::WaitTick BatchStarting(const std::wstring& statusPath, size_t total);
  // One look at what the status file has grown by, and the count on the view.
  void Poll() noexcept;
  // The batch has ended (or was ended): the rest of the file is read and let go.
  void BatchEnded() noexcept;
  // Every status line the tool wrote during the batch.
  [[nodiscard]] const std::vector<film_status::Line>& Lines() const { return progress_.Lines(); }
  // What became of the films, for the view's end.
  void Judged(const std::vector<FilmOutcome>& outcomes);

 private:
  void ReadNew();

  ProgressView* view_;
  std::wstring path_;
  size_t total_ = 0;
  // Kept open between looks, sharing read, write and delete, so each look costs only the reading.
  platform::UniqueHandle file_;
  StatusProgress progress_;
  unsigned long long offset_ = 0;
  bool allCleaned_ = true;
};

}  // namespace run
