#include "status_file.h"

#include "report.h"
#include "run.h"

namespace rmevents {
namespace {

// The input exactly as the tool was given it, never the name the report shows: the program that
// reads the status file knows its films by the names it gave.
std::string InputText(const Path& input) {
  const auto text = input.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

StatusFile StatusFile::FromEnvironment(std::string& problem) {
  const Path path = PathFromEnvironment(film_status::kStatusFileVariable);
  if (path.empty()) return {};
  FileError error;
  const std::intptr_t handle = OpenForAppending(path, error);
  if (handle == kNone) {
    problem = "无法打开状态文件 " + PathText(path) + "：" + Describe(error);
    return {};
  }
  return StatusFile(handle);
}

StatusFile::~StatusFile() {
  if (handle_ != kNone) CloseAppended(handle_);
}

void StatusFile::Started(const Path& input) noexcept {
  try {
    Write({film_status::Kind::kStarted, -1, 0, InputText(input)});
  } catch (...) {
    // Out of memory, or a name the conversion refused: the film goes on without its line.
  }
}

void StatusFile::Ended(const Path& input, int exitCode, const rm::WalkRepair& repair) noexcept {
  try {
    Write(ClosingLine(input, exitCode, repair));
  } catch (...) {
    // As above.
  }
}

void StatusFile::Write(const film_status::Line& line) noexcept {
  if (handle_ == kNone) return;
  try {
    (void)Append(handle_, film_status::Format(line));
  } catch (...) {
  }
}

film_status::Line ClosingLine(const Path& input, int exitCode, const rm::WalkRepair& repair) {
  film_status::Line line{film_status::Kind::kFailed, exitCode, 0, InputText(input)};
  if (exitCode == kExitOk) {
    line.kind = film_status::Kind::kDone;
  } else if (exitCode == kExitUnchanged) {
    line.kind = film_status::Kind::kUnchanged;
  } else if (exitCode == kExitRepaired && repair.cut) {
    line.kind = film_status::Kind::kSalvaged;
    line.keptPackets = repair.keptPackets;
  } else if (exitCode == kExitRepaired) {
    line.kind = film_status::Kind::kIndexRebuilt;
  }
  return line;
}

}  // namespace rmevents
