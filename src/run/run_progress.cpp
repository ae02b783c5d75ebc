#include "run/run_progress.h"

#include <optional>
#include <utility>

namespace run {

void StatusProgress::Take(std::string_view bytes) {
  for (;;) {
    const size_t end = bytes.find('\n');
    if (end == std::string_view::npos) break;
    std::string_view text = bytes.substr(0, end);
    if (!partial_.empty()) {
      partial_.append(text);
      text = partial_;
    }
    if (std::optional<film_status::Line> line = film_status::Parse(text)) {
      if (line->kind == film_status::Kind::kStarted) {
        input_ = line->inputUtf8;
      } else {
        ++finished_;
      }
      lines_.push_back(std::move(*line));
    }
    partial_.clear();
    bytes.remove_prefix(end + 1);
  }
  partial_.append(bytes);
}

bool EveryFilmCleaned(const std::vector<FilmOutcome>& outcomes) {
  for (const FilmOutcome& film : outcomes) {
    if (film.outcome != Outcome::kReplaced && film.outcome != Outcome::kCopyKept &&
        film.outcome != Outcome::kNoEvents) {
      return false;
    }
  }
  return true;
}

}  // namespace run
