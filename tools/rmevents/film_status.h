// The status file: rmevents' account of each film for the program that runs it, beside the report
// for people. Quellin names the file through RMEVENTS_STATUS and learns from it alone how far a
// run has got and how each film ended, so rewording the report never changes what Quellin counts.
//
// One line per event, appended and flushed as it happens, fields separated by one tab, ended by
// LF:
//   KEYWORD <TAB> EXIT <TAB> KEPT <TAB> INPUT
// KEYWORD is one of the ASCII words below; EXIT the tool's exit code in decimal ("-" on a START
// line); KEPT the number of whole packets kept from a film cut short (0 otherwise); INPUT the
// input path exactly as the tool was given it, in UTF-8. A path holds no tab or line break (no
// file name can), so the line splits without quoting. Both sides include this header only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace film_status {

// The environment variable that names the status file; unset, nothing is written.
inline constexpr char kStatusFileVariable[] = "RMEVENTS_STATUS";
// With this variable set to kUtf8Report, the report on standard output is UTF-8 and starts with a
// byte-order mark when it starts an empty file: Quellin asks for it where the ANSI code page
// cannot show Chinese.
inline constexpr char kReportEncodingVariable[] = "RMEVENTS_REPORT";
inline constexpr char kUtf8Report[] = "utf8";

enum class Kind {
  kStarted,       // START: the tool has begun reading the film
  kDone,          // DONE: the cleaned copy is written and checked (exit 0)
  kSalvaged,      // SALVAGED: written from a film cut short, KEPT whole packets (exit 10)
  kIndexRebuilt,  // REINDEXED: written with an index rebuilt from the packets (exit 10)
  kUnchanged,     // UNCHANGED: no events, nothing written (exit 9)
  kFailed,        // FAILED: no copy written; EXIT says why (1-8)
};

struct Line {
  Kind kind = Kind::kStarted;
  int exitCode = -1;  // -1 on a START line
  std::uint64_t keptPackets = 0;
  std::string inputUtf8;
};

// The line with its LF.
[[nodiscard]] std::string Format(const Line& line);
// One line without its ending (a CR before the LF is tolerated); nothing for a line that is not
// one of ours or is cut short (the file is read while the tool writes it).
[[nodiscard]] std::optional<Line> Parse(std::string_view text);

}  // namespace film_status
