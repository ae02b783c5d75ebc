// Files for the tool: rm::Source / rm::Sink over real files with 64-bit offsets, and the few
// whole-file operations the write-then-rename sequence needs. Windows uses the wide API
// throughout so names with Chinese characters, blanks and % work (file_io_win32.cpp); other
// systems use POSIX calls (file_io_posix.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "background_copy.h"
#include "command_line.h"
#include "rm/source.h"

namespace rmevents {

enum class FileProblem {
  kNone,
  kNotFound,
  kPathNotFound,  // a folder on the way is missing
  kAccessDenied,
  kSharingViolation,  // another program holds the file open
  kPathTooLong,
  kDiskFull,
  kNotAFile,
  kTooLarge,
  kReadFailed,
  kOther
};

struct FileError {
  FileProblem problem = FileProblem::kNone;
  unsigned long systemCode = 0;  // errno or GetLastError()
};

// Simplified Chinese, UTF-8.
std::string Describe(const FileError& error);
// The system's error code (errno, or GetLastError() on Windows) as a FileError.
FileError FromSystemCode(unsigned long code);
// The same from a std::filesystem failure.
FileError FromErrorCode(const std::error_code& code);

// Which file a name leads to: Windows' volume serial number and file index, POSIX's st_dev and
// st_ino. Two names with one identity are one file (other spellings and hard links included).
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file now under `path`; false if there is none.
[[nodiscard]] bool IdentityOf(const Path& path, FileIdentity& identity);

class InputFile final : public rm::Source {
 public:
  static std::unique_ptr<InputFile> Open(const Path& path, FileError& error);
  ~InputFile() override;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  std::uint64_t Size() const override { return size_; }
  [[nodiscard]] bool ReadSome(std::uint64_t offset, std::uint8_t* buffer, std::size_t size,
                              std::size_t& got) override;

 private:
  friend class OutputFile;
  InputFile(std::intptr_t handle, std::uint64_t size) : handle_(handle), size_(size) {}
  std::intptr_t handle_;
  std::uint64_t size_;
};

// Hands what has reached a file to the disk a few megabytes at a time instead of all at once when
// the file is flushed, so the disk writes while the rest of the film is read. A hint only: the
// flush before the rename still makes every byte durable. One per writing thread.
//   Linux: sync_file_range over the last step's bytes (file_io_posix.cpp).
//   Windows: a second thread flushes the file through a duplicate of the writing handle
//   (file_io_win32.cpp).
class Writeback {
 public:
  Writeback() = default;
#ifdef _WIN32
  ~Writeback();
  Writeback(const Writeback&) = delete;
  Writeback& operator=(const Writeback&) = delete;
#endif
  void Wrote(std::intptr_t output, std::uint64_t offset, std::uint64_t size);
  // Waits for a flush still under way; before the file's own flush and close.
  void Finish();

 private:
  // Notes a write; true once `step` bytes have gathered in [begin_, end_) since the last step.
  // Small writes (headers, patches) are left to the flush before the rename.
  bool StepDone(std::uint64_t offset, std::uint64_t size, std::uint64_t step);

  std::uint64_t begin_ = 0, end_ = 0;  // written since the last step
#ifdef _WIN32
  struct Flusher;
  std::unique_ptr<Flusher> flusher_;
#endif
};

class OutputFile final : public rm::Sink {
 public:
  // Creates a new file: a name that exists fails (the caller has removed its own earlier file),
  // so nothing someone else made or still writes is ever written into. While it is open no one
  // else can open it for writing (Windows; POSIX has no such lock). Identity() tells which file
  // was made, to be compared with the one under the name before it is renamed.
  static std::unique_ptr<OutputFile> Create(const Path& path, FileError& error);
  const FileIdentity& Identity() const { return identity_; }
  ~OutputFile() override;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  [[nodiscard]] bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override;
  bool CanCopyRange() const override;
  std::uint64_t CopyRange(rm::Source& from, std::uint64_t fromOffset, std::uint64_t toOffset,
                          std::uint64_t size) override;
  // Flushes the file to the disk, then closes it; either can report a failed write that the
  // system had delayed, or a copy that failed.
  [[nodiscard]] bool Close(FileError& error);
  // Why the last WriteAt failed (the library's sink reports only that it did), and the end of
  // what it was asked to write: the file needed at least that much room.
  const FileError& WriteFailure() const { return writeFailure_; }
  std::uint64_t FailedWriteEnd() const { return failedWriteEnd_; }

 private:
  OutputFile(std::intptr_t handle, const FileIdentity& identity);
  // Waits for the background copies; false (and `error`) if one failed.
  bool FinishCopies(FileError& error);

 public:
  // Writes all of `data` at `offset` of the open file `handle`.
  [[nodiscard]] static bool WriteAll(std::intptr_t handle, std::uint64_t offset,
                                     std::span<const std::uint8_t> data);

 private:
  std::intptr_t handle_;
  FileIdentity identity_;
  bool open_ = true;
  FileError writeFailure_;
  std::uint64_t failedWriteEnd_ = 0;
  Writeback writeback_;                     // of the writes made by WriteAt
  std::unique_ptr<BackgroundCopy> copier_;  // started by the first CopyRange
};

// One job of OutputFile's background copy into the file `output`: 0 or the system's error code
// (file_io_posix.cpp; Windows copies nothing in the background).
unsigned long CopyJob(const BackgroundCopy::Job& job, std::intptr_t output);

// Reads a small file whole; refuses files larger than `limit`.
[[nodiscard]] bool ReadSmallFile(const Path& path, std::size_t limit, std::string& bytes,
                                 FileError& error);
// Moves `from` onto `to`, replacing `to` if it exists.
[[nodiscard]] bool MoveReplacing(const Path& from, const Path& to, FileError& error);
// Deletes the file if there is one; true if a file was deleted.
bool DeleteIfPresent(const Path& path);
// True when both names lead to one existing file (other spellings and hard links included).
bool SameFile(const Path& a, const Path& b);
// The folder that holds `file` ("." for a bare name).
Path FolderOf(const Path& file);
// The room this user may still fill on the volume that holds `file`'s folder; nothing when the
// system cannot tell.
std::optional<std::uint64_t> FreeSpaceBeside(const Path& file);
// The name the report shows for `path`. Where the report is UTF-8 on Windows, a path the batch gave
// by its short (8.3) name, because cmd's code page cannot hold the real one, is shown by its long
// name, which UTF-8 can hold; elsewhere, and for a path that does not exist, the path as given.
Path NameToShow(const Path& path);

}  // namespace rmevents
