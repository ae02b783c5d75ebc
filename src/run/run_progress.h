// How far a run has got while its batch goes, and where it is shown. rmevents notes each film in
// the status file as it starts and as it ends (film_status.h); the counting reads only that file,
// never the words of the report, so it holds on any code page and whatever the tool says to people.
// A poll hands over only the bytes the file has grown by.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "film_status.h"
#include "run/film_outcome.h"

namespace run {

class StatusProgress {
 public:
  // Takes the bytes the status file has grown by since the last call. A last line without its
  // line feed yet is kept until the rest of it arrives.
  void Take(std::string_view bytes);

  // The films whose closing line has been written.
  [[nodiscard]] size_t Finished() const { return finished_; }
  // The input of the latest START line (the film under way, or the last one done), UTF-8; empty
  // before the first.
  [[nodiscard]] const std::string& CurrentInput() const { return input_; }
  // Every complete line so far, in the order written.
  [[nodiscard]] const std::vector<film_status::Line>& Lines() const { return lines_; }

 private:
  std::string partial_;
  size_t finished_ = 0;
  std::string input_;
  std::vector<film_status::Line> lines_;
};

// Whether every film came out cleaned or was rightly left alone (no events).
[[nodiscard]] bool EveryFilmCleaned(const std::vector<FilmOutcome>& outcomes);

// Where a run shows its progress: the window's caption and taskbar button, or a notification-area
// icon for a run without a window. The run calls it from its own thread; nothing here may throw.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  // The run waits for another run over the same TMP to finish.
  virtual void Waiting() noexcept = 0;
  // `finished` of `total` films done, `film` the file name of the one under way (may be empty).
  // Called when the batch starts and at every poll, whether anything changed or not.
  virtual void Show(size_t finished, size_t total, std::wstring_view film) noexcept = 0;
  // The run is over; `allCleaned` false when some film was not cleaned.
  virtual void End(bool allCleaned) noexcept = 0;
};

}  // namespace run
