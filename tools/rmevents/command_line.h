// The rmevents command line, RMEvents-compatible:
//   rmevents -i IN -o OUT -e EVENTS    replace IN's events with those in EVENTS, write OUT
//   rmevents -i IN -d NAME             dump IN's events to NAME_evt.txt
//   rmevents -?                        usage
// Switch letters may be upper or lower case; each takes the next argument as its value.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace rmevents {

using Path = std::filesystem::path;
// Arguments as the system gives them: UTF-16 on Windows (wmain), bytes elsewhere.
using NativeString = Path::string_type;

enum class Mode { kReplace, kDump, kHelp };

struct Options {
  Mode mode = Mode::kHelp;
  Path input;
  Path output;
  Path events;
  Path dumpName;
};

enum class ParseOutcome {
  kOk,
  kUsageError,         // problem says what is wrong
  kDeclinedImageMaps,  // -m: image maps are not handled by this tool
};

[[nodiscard]] ParseOutcome ParseCommandLine(const std::vector<NativeString>& args, Options& options,
                                            std::string& problem);

// The usage text, simplified Chinese, UTF-8, LF line ends.
const char* UsageText();

}  // namespace rmevents
