// Films with nothing to change, left alone when the caller asks for it. A film without an event
// stream that gets no events would be copied byte for byte; a caller that only wants films
// cleaned (Quellin, over a whole library) sets RMEVENTS_UNCHANGED=skip and gets no copy instead,
// after a look at the header section alone, so the time does not grow with the film.
#pragma once

#include <vector>

#include "rm/error.h"
#include "rm/event.h"
#include "rm/replace_events.h"
#include "rm/source.h"

namespace rmevents {

inline constexpr const char* kUnchangedVariable = "RMEVENTS_UNCHANGED";
inline constexpr const char* kUnchangedLine = "文件中没有事件：未改动，未写出输出文件。";

// True when the environment holds RMEVENTS_UNCHANGED=skip exactly.
bool SkipUnchangedAsked();

// Reads `in` up to its first DATA chunk and no further. `unchanged`: no event stream, and `events`
// adds none; outcome.streams lists the streams for the report. False for a header section that
// cannot be read, as a whole run would refuse it.
[[nodiscard]] bool FindUnchanged(rm::Source& in, const std::vector<rm::Event>& events,
                                 rm::ReplaceOutcome& outcome, bool& unchanged, rm::Error& error);

}  // namespace rmevents
