// The short report rmevents prints on standard output, which Quellin shows the user in Notepad:
// simplified Chinese, written in the ANSI code page on Windows and UTF-8 elsewhere. Text the
// tool writes is UTF-8 here; bytes that come out of a film (event texts, in the producer's code
// page) are kept apart so they are never converted twice.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "rm/inspect.h"
#include "rm/replace_events.h"

namespace rmevents {

class Report {
 public:
  struct Segment {
    bool raw = false;  // bytes from the film, passed through as they are
    std::string bytes;
  };

  void Text(std::string_view utf8);
  // Control characters become '?', so a hostile string cannot break the report's lines.
  void Raw(std::string_view bytes);
  void Line(std::string_view utf8) {
    Text(utf8);
    Text("\n");
  }
  const std::vector<Segment>& Segments() const { return segments_; }
  // All segments joined, as a UTF-8 system prints them.
  std::string Joined() const;

 private:
  std::vector<Segment> segments_;
};

std::string PathText(const Path& path);
// True when `bytes` are well-formed UTF-8 (ASCII included).
bool IsUtf8(std::string_view bytes);
// "1,234,567" style digit groups.
std::string GroupDigits(std::uint64_t n);

void ReportStreams(Report& report, const rm::ReplaceOutcome& outcome);
void ReportRemovedEvents(Report& report, const rm::RewriteResult& result);
void ReportEvent(Report& report, const rm::Event& event);
// What a rewrite repaired; true when it repaired anything.
bool ReportRepair(Report& report, const rm::WalkRepair& repair);

}  // namespace rmevents
