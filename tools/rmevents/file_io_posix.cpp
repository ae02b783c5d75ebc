// POSIX files for native builds (Linux tests, benchmarks).
#include "file_io.h"

#include <algorithm>
#include <vector>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace rmevents {

namespace {

FileError FromErrno(int code) { return FromSystemCode(static_cast<unsigned long>(code)); }

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

FileIdentity IdentityIn(const struct stat& st) {
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace

void Writeback::Wrote(std::intptr_t output, std::uint64_t offset, std::uint64_t size) {
#ifdef __linux__
  if (!StepDone(offset, size, std::uint64_t{8} << 20)) return;
  (void)::sync_file_range(Fd(output), static_cast<off64_t>(begin_),
                          static_cast<off64_t>(end_ - begin_), SYNC_FILE_RANGE_WRITE);
  begin_ = end_;
#else
  (void)output, (void)offset, (void)size;
#endif
}

void Writeback::Finish() {}

// In the kernel where it can (as cp does, no trip through this process's memory), else through a
// buffer.
unsigned long CopyJob(const BackgroundCopy::Job& job, std::intptr_t output) {
  const int from = Fd(job.from), to = Fd(output);
  std::uint64_t done = 0;
#ifdef __linux__
  loff_t in = static_cast<loff_t>(job.fromOffset), out = static_cast<loff_t>(job.toOffset);
  while (done < job.size) {
    const ssize_t n = ::copy_file_range(
        from, &in, to, &out,
        static_cast<std::size_t>(std::min<std::uint64_t>(job.size - done, 1u << 30)), 0);
    if (n < 0 && errno == EINTR) continue;
    // Not supported between these files, or an error the plain copy below meets and reports.
    if (n <= 0) break;
    done += static_cast<std::uint64_t>(n);
  }
#endif
  std::vector<std::uint8_t> buffer;
  while (done < job.size) {
    buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(job.size - done, 1u << 20)));
    const ssize_t n =
        ::pread(from, buffer.data(), buffer.size(), static_cast<off_t>(job.fromOffset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0 ? EIO : static_cast<unsigned long>(errno);
    if (!OutputFile::WriteAll(output, job.toOffset + done,
                              std::span(buffer.data(), static_cast<std::size_t>(n)))) {
      return static_cast<unsigned long>(errno);
    }
    done += static_cast<std::uint64_t>(n);
  }
  return 0;
}

namespace {}  // namespace

std::unique_ptr<InputFile> InputFile::Open(const Path& path, FileError& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = FromErrno(errno);
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = S_ISREG(st.st_mode) ? FromErrno(errno) : FileError{FileProblem::kNotAFile, 0};
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<InputFile>(new InputFile(fd, static_cast<std::uint64_t>(st.st_size)));
}

InputFile::~InputFile() { ::close(Fd(handle_)); }

bool InputFile::ReadSome(std::uint64_t offset, std::uint8_t* buffer, std::size_t size,
                         std::size_t& got) {
  for (;;) {
    const ssize_t n = ::pread(Fd(handle_), buffer, size, static_cast<off_t>(offset));
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return true;
    }
    if (errno != EINTR) return false;
  }
}

std::unique_ptr<OutputFile> OutputFile::Create(const Path& path, FileError& error) {
  // O_EXCL: also refuses a symbolic link left under the name, which O_CREAT alone would follow.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    error = FromErrno(errno);
    // With O_CREAT the file itself need not exist: a missing name is a missing folder.
    if (fd < 0 && errno == ENOENT) error.problem = FileProblem::kPathNotFound;
    if (fd >= 0) ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<OutputFile>(new OutputFile(fd, IdentityIn(st)));
}

OutputFile::OutputFile(std::intptr_t handle, const FileIdentity& identity)
    : handle_(handle), identity_(identity) {}

OutputFile::~OutputFile() {
  copier_.reset();
  if (open_) ::close(Fd(handle_));
}

bool OutputFile::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
  if (!WriteAll(handle_, offset, data)) {
    writeFailure_ = FromErrno(errno);
    failedWriteEnd_ = offset + data.size();
    return false;
  }
  writeback_.Wrote(handle_, offset, data.size());
  return true;
}

bool OutputFile::WriteAll(std::intptr_t handle, std::uint64_t offset,
                          std::span<const std::uint8_t> data) {
  while (!data.empty()) {
    const ssize_t n = ::pwrite(Fd(handle), data.data(), data.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data = data.subspan(static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
  return true;
}

bool OutputFile::Close(FileError& error) {
  const bool copied = FinishCopies(error);
  open_ = false;
  // On the disk before it is renamed: a power loss after the rename must not leave the target's
  // name on data that was never written.
  if (::fsync(Fd(handle_)) != 0) {
    error = FromErrno(errno);
    ::close(Fd(handle_));
    return false;
  }
  if (::close(Fd(handle_)) != 0) {
    if (copied) error = FromErrno(errno);
    return false;
  }
  return copied;
}

bool MoveReplacing(const Path& from, const Path& to, FileError& error) {
  if (::rename(from.c_str(), to.c_str()) != 0) {
    error = FromErrno(errno);
    return false;
  }
  return true;
}

bool DeleteIfPresent(const Path& path) { return ::unlink(path.c_str()) == 0; }

bool IdentityOf(const Path& path, FileIdentity& identity) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  identity = IdentityIn(st);
  return true;
}

Path NameToShow(const Path& path) { return path; }

std::optional<std::uint64_t> FreeSpaceBeside(const Path& file) {
  struct statvfs info {};
  if (::statvfs(FolderOf(file).c_str(), &info) != 0) return std::nullopt;
  return std::uint64_t{info.f_bavail} * info.f_frsize;
}

}  // namespace rmevents
