// The events text file: one event a line, `FLAG START END TEXT`, as RealNetworks' rmevents reads
// it, and the same syntax for dumps so that a dump can be fed back.
//
//   FLAG   u (URL), i (title), a (author), c (copyright); xHHHH keeps any other type code
//   time   [[[days:]hours:]minutes:]seconds[.tenths]
//
// Blank lines, `#` comments and lines whose first word is `rem` (any case) carry no event: a batch
// file's `echo rem > Event.txt` writes "rem " CR LF, and means "no events".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rm/event.h"

namespace rm {

// Event type codes travel in a u16 sequence number per stream.
inline constexpr std::size_t kMaxEvents = 65536;

enum class EventTextProblem {
  kNone,
  kBadFlag,         // first word is not u, i, a, c or xHHHH
  kMissingTime,     // fewer than two times after the flag
  kBadTime,         // a time that does not follow the syntax, or out of range
  kMissingText,     // nothing after the end time
  kEndBeforeStart,  // end time earlier than start time
  kNotAscending,    // start time earlier than the previous event's
  kTextTooLong,     // more than fits in one packet
  kTooManyEvents,   // more than one stream can number
};

struct EventTextError {
  EventTextProblem problem = EventTextProblem::kNone;
  std::size_t line = 0;  // 1-based
  std::string token;     // the word concerned, as written
};

[[nodiscard]] bool ParseEventText(std::string_view text, std::vector<Event>& events,
                                  EventTextError& error);
// One sentence in simplified Chinese (UTF-8), line number included.
std::string Describe(const EventTextError& error);

// Dump form: a short comment header, then one CR LF line per event. A text with line breaks or
// surrounding blanks cannot survive a line-based file; its line is preceded by a comment saying so.
std::string FormatEventText(const std::vector<Event>& events);
// What reading a dumped text back gives: line breaks as blanks, surrounding blanks dropped.
std::string TextAfterDump(std::string_view text);
// Whether an event found in a file can be written as a line that reads back: a text left after
// TextAfterDump, times within range and an end not before the start.
bool CanDumpEvent(const Event& event);

[[nodiscard]] bool ParseEventTime(std::string_view text, std::uint32_t& deciseconds);
// hh:mm:ss.t, with a leading days field once the time reaches a day.
std::string FormatEventTime(std::uint32_t deciseconds);
// "u", "i", "a", "c" or "xHHHH".
std::string EventFlag(std::uint16_t type);

}  // namespace rm
