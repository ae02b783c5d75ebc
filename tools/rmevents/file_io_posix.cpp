// POSIX files for native builds (Linux tests, benchmarks).
#include "file_io.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rmevents {

namespace {

FileError FromErrno(int code) {
  FileError e;
  e.systemCode = static_cast<unsigned long>(code);
  e.problem = code == ENOENT || code == ENOTDIR ? FileProblem::kNotFound
              : code == EACCES || code == EPERM ? FileProblem::kAccessDenied
              : code == EISDIR                  ? FileProblem::kNotAFile
                                                : FileProblem::kOther;
  return e;
}

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

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
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = FromErrno(errno);
    return nullptr;
  }
  return std::unique_ptr<OutputFile>(new OutputFile(fd));
}

OutputFile::~OutputFile() {
  if (open_) ::close(Fd(handle_));
}

bool OutputFile::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
  while (!data.empty()) {
    const ssize_t n = ::pwrite(Fd(handle_), data.data(), data.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data = data.subspan(static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
  return true;
}

bool OutputFile::CanCopyRange() const {
#ifdef __linux__
  return !copyUnsupported_;
#else
  return false;
#endif
}

std::uint64_t OutputFile::CopyRange(rm::Source& from, std::uint64_t fromOffset,
                                    std::uint64_t toOffset, std::uint64_t size) {
#ifdef __linux__
  // In-kernel copy, as cp does: no trip through this process's memory.
  auto* file = dynamic_cast<InputFile*>(&from);
  if (file == nullptr || copyUnsupported_) return 0;
  loff_t in = static_cast<loff_t>(fromOffset), out = static_cast<loff_t>(toOffset);
  std::uint64_t done = 0;
  while (done < size) {
    const ssize_t n = ::copy_file_range(
        Fd(file->handle_), &in, Fd(handle_), &out,
        static_cast<std::size_t>(std::min<std::uint64_t>(size - done, 1u << 30)), 0);
    if (n <= 0) {
      // Not supported here (then never again), or an error the plain copy will meet and report.
      copyUnsupported_ =
          n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP);
      break;
    }
    done += static_cast<std::uint64_t>(n);
  }
  return done;
#else
  (void)from;
  (void)fromOffset;
  (void)toOffset;
  (void)size;
  return 0;
#endif
}

bool OutputFile::Close(FileError& error) {
  open_ = false;
  if (::close(Fd(handle_)) != 0) {
    error = FromErrno(errno);
    return false;
  }
  return true;
}

bool MoveReplacing(const Path& from, const Path& to, FileError& error) {
  if (::rename(from.c_str(), to.c_str()) != 0) {
    error = FromErrno(errno);
    return false;
  }
  return true;
}

bool DeleteIfPresent(const Path& path) { return ::unlink(path.c_str()) == 0; }

bool SameFile(const Path& a, const Path& b) {
  struct stat sa {
  }, sb{};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace rmevents
