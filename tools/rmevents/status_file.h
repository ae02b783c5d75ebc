// The status file a caller names through RMEVENTS_STATUS (its line format: film_status.h). The
// tool appends a START line as it begins a film and one closing line as the film ends, each with a
// single write, so a reader that follows the file meanwhile (Quellin counting its progress) sees
// whole lines as they happen, not all of them at the exit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "command_line.h"
#include "file_io.h"
#include "film_status.h"
#include "rm/walker.h"

namespace rmevents {

class StatusFile {
 public:
  // Nothing is written through a StatusFile made this way.
  StatusFile() = default;
  // Opens the file the environment names, if it names one. A file that cannot be opened changes
  // nothing in the film's outcome: `problem` then says why, for one line in the report.
  static StatusFile FromEnvironment(std::string& problem);
  ~StatusFile();
  StatusFile(StatusFile&& other) noexcept : handle_(other.handle_) { other.handle_ = kNone; }
  StatusFile& operator=(StatusFile&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  StatusFile(const StatusFile&) = delete;
  StatusFile& operator=(const StatusFile&) = delete;

  // Never throw: the status file must not be what fails a film.
  void Started(const Path& input) noexcept;
  void Ended(const Path& input, int exitCode, const rm::WalkRepair& repair) noexcept;

 private:
  static constexpr std::intptr_t kNone = -1;
  explicit StatusFile(std::intptr_t handle) : handle_(handle) {}
  void Write(const film_status::Line& line) noexcept;

  std::intptr_t handle_ = kNone;
};

// The closing line of a film whose run ended with `exitCode`.
film_status::Line ClosingLine(const Path& input, int exitCode, const rm::WalkRepair& repair);

// The system side (status_file_posix.cpp, status_file_win32.cpp).
// The variable's value as a path, as the system holds it (UTF-16 on Windows); empty when unset.
Path PathFromEnvironment(const char* name);
// Opens `path` for appending, creating it if needed, shared with readers and other writers;
// -1 (and `error`) when it cannot.
std::intptr_t OpenForAppending(const Path& path, FileError& error);
// Appends `bytes` at the end of the file with one write.
bool Append(std::intptr_t handle, std::string_view bytes);
void CloseAppended(std::intptr_t handle);

}  // namespace rmevents
