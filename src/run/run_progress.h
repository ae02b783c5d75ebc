// How far a run has got while its batch goes, and where it is shown. Each tool run of the batch
// names its film on a "输入文件：" line and ends its lines with "完成。" or with a line ending in
// "未写出输出文件。" (the line for a film left alone ends so too), all in ret.txt as it grows. The
// counting works on the report's bytes in the code page the tool writes in (the ANSI one), so a
// poll hands over only what was added and the whole report is never decoded again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "run/film_outcome.h"

namespace run {

// The tool's words as they stand in the report, in its code page.
struct ReportMarkers {
  std::string finished;    // 完成。
  std::string notWritten;  // 未写出输出文件。
  std::string input;       // 输入文件：
};

class ReportProgress {
 public:
  explicit ReportProgress(ReportMarkers markers) : markers_(std::move(markers)) {}

  // Takes the bytes the report has grown by since the last call. A last line without its line
  // feed yet is kept until the rest of it arrives. CR LF and LF both end a line.
  void Take(std::string_view bytes);

  // The tool runs whose lines have ended.
  [[nodiscard]] size_t Finished() const { return finished_; }
  // What follows "输入文件：" on the latest such line (the film under way, or the last one done),
  // in the report's code page; empty before the first.
  [[nodiscard]] const std::string& CurrentInput() const { return input_; }

 private:
  void TakeLine(std::string_view line);

  ReportMarkers markers_;
  std::string partial_;
  size_t finished_ = 0;
  std::string input_;
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
