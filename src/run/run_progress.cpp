#include "run/run_progress.h"

namespace run {
namespace {

bool EndsWith(std::string_view text, std::string_view end) {
  return !end.empty() && text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool StartsWith(std::string_view text, std::string_view start) {
  return !start.empty() && text.substr(0, start.size()) == start;
}

}  // namespace

void ReportProgress::Take(std::string_view bytes) {
  // A line feed is never the second byte of a double-byte character (those are 0x40 and up), so
  // cutting the bytes at it never splits a character.
  for (;;) {
    const size_t end = bytes.find('\n');
    if (end == std::string_view::npos) break;
    std::string_view line = bytes.substr(0, end);
    if (!partial_.empty()) {
      partial_.append(line);
      line = partial_;
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    TakeLine(line);
    partial_.clear();
    bytes.remove_prefix(end + 1);
  }
  partial_.append(bytes);
}

void ReportProgress::TakeLine(std::string_view line) {
  // The input line names a path, which may itself end like a marker.
  if (StartsWith(line, markers_.input)) {
    input_.assign(line.substr(markers_.input.size()));
    return;
  }
  if (line == markers_.finished || EndsWith(line, markers_.notWritten)) ++finished_;
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
