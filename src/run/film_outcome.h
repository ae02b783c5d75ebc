// What became of each film of a run, and the section the run appends to ret.txt about it, so the
// user reads in Notepad what really happened to every film and not only what the tool said.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace run {

enum class Outcome {
  kReplaced,     // the cleaned copy took the film's place
  kCopyKept,     // Ch unticked: the cleaned copy waits beside the film
  kNoEvents,     // the film carries no events: the tool left it as it is and wrote no copy
  kNoCopy,       // the tool wrote no copy: its own lines above say why
  kNotInBatch,   // the name holds characters the batch file cannot carry: not cleaned
  kTooSmall,     // the copy is SizeLossLimit bytes smaller or more: kept beside the film
  kReadOnly,     // the film is read-only: the copy is kept beside it
  kHeld,         // another program holds the film open: the copy is kept beside it
  kNotReplaced,  // the move failed for another reason: the copy is kept beside it
};

struct FilmOutcome {
  std::wstring entry;
  Outcome outcome = Outcome::kNoCopy;
  std::wstring copy;  // the cleaned copy's path, where one exists
};

// The lines appended to ret.txt after the tool's output: a blank line, a heading, one line per
// entry in list order naming it and its outcome, and a line with the counts. CR LF endings. An
// empty list gives an empty text, so ret.txt is left as it was.
[[nodiscard]] std::wstring OutcomeSection(const std::vector<FilmOutcome>& outcomes);

// Whether the tool's report says that `input` holds no events and was left alone: the line the
// tool prints for it comes after that film's input line and before the next film's.
[[nodiscard]] bool ReportSaysNoEvents(std::wstring_view report, std::wstring_view input);

}  // namespace run
