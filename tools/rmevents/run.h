// One run of the tool, from arguments to exit code, writing its report as it goes. Portable: the
// file operations behind it are in file_io_*.cpp.
#pragma once

#include <cstddef>
#include <vector>

#include "command_line.h"
#include "report.h"
#include "rm/walker.h"

namespace rmevents {

// Documented in README.md and in the usage text.
enum ExitCode : int {
  kExitOk = 0,
  kExitUsage = 1,     // bad command line
  kExitInput = 2,     // input missing or unreadable
  kExitBadInput = 3,  // not RealMedia, damaged, or a layout this tool does not rewrite
  kExitEvents = 4,    // events file missing, unreadable or with a bad line
  kExitOutput = 5,    // output cannot be written (also: input and output are one file)
  kExitDeclined = 6,  // -m (image maps)
  kExitVerify = 7,    // the written file failed its check and was deleted
  // Out of memory or a fault of the tool's own; nothing written.
  kExitInternal = 8,
  // RMEVENTS_UNCHANGED=skip and nothing to change: the film was left alone, nothing written.
  kExitUnchanged = 9,
  kExitRepaired = 10,  // success with a repair: a film cut short, or an index rebuilt
};

inline constexpr std::size_t kMaxEventsFileSize = std::size_t{64} << 20;

// `repair`, when given, learns what a successful rewrite repaired (for the status file).
int Run(const std::vector<NativeString>& args, Report& report, rm::WalkRepair* repair = nullptr);

}  // namespace rmevents
