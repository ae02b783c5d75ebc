// What became of each film of a run, and the section the run appends to ret.txt about it, so the
// user reads in Notepad what really happened to every film and not only what the tool said.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace run {

enum class Outcome {
  kReplaced,      // the cleaned copy took the film's place
  kCopyKept,      // Ch unticked: the cleaned copy waits beside the film
  kNoEvents,      // the film carries no events: the tool left it as it is and wrote no copy
  kNoCopy,        // the tool wrote no copy: its own lines above say why
  kNotInBatch,    // the name holds characters the batch file cannot carry: not cleaned
  kStopped,       // the run was stopped before this film was done: left as it was
  kRefused,       // a name handed over by another start that is no usable film path: ignored
  kTooSmall,      // the copy is SizeLossLimit bytes smaller or more: kept beside the film
  kReadOnly,      // the film is read-only: the copy is kept beside it
  kHeld,          // another program holds the film open: the copy is kept beside it
  kAccessDenied,  // the user may not replace the film (its folder or share): copy kept beside it
  kNotReplaced,   // the move failed for another reason: the copy is kept beside it
};

// What the tool had to mend to write the copy.
enum class Repair {
  kNone,
  kSalvaged,      // the film was cut short: its whole packets were kept
  kIndexRebuilt,  // the film's index did not match its packets and was made anew
};

struct FilmOutcome {
  std::wstring entry;
  Outcome outcome = Outcome::kNoCopy;
  std::wstring copy;  // the cleaned copy's path, where one exists
  Repair repair = Repair::kNone;
  std::uint64_t keptPackets = 0;  // with kSalvaged
};

// How the run as a whole ended.
enum class RunEnd {
  kCompleted,         // the batch ran to its end
  kStopped,           // the user (or the end of the session) stopped it
  kBatchNotWritten,   // Go.bat could not be written: no film was touched
  kEventsNotWritten,  // Event.txt could not be made ours: no film was touched
};

// The lines appended to ret.txt after the tool's output: a blank line, a heading, one line per
// entry in list order naming it and its outcome, and a line with the counts; a stopped run adds a
// line saying so. A run that could not start its batch gets one line saying why instead of the
// films. CR LF endings. A completed run over an empty list gives an empty text.
[[nodiscard]] std::wstring OutcomeSection(const std::vector<FilmOutcome>& outcomes,
                                          RunEnd end = RunEnd::kCompleted);

}  // namespace run
