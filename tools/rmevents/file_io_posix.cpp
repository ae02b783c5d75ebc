// POSIX files for native builds (Linux tests, benchmarks).
#include "file_io.h"

#include <algorithm>
#include <vector>
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

// One background copy job: in the kernel where it can (as cp does, no trip through this
// process's memory), else through a buffer.
unsigned long CopyJob(const BackgroundCopy::Job& job, int to) {
  const int from = Fd(job.from);
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
    for (ssize_t put = 0; put < n;) {
      const ssize_t w = ::pwrite(to, buffer.data() + put, static_cast<std::size_t>(n - put),
                                 static_cast<off_t>(job.toOffset + done + put));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return w == 0 ? EIO : static_cast<unsigned long>(errno);
      put += w;
    }
    done += static_cast<std::uint64_t>(n);
  }
  return 0;
}

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

OutputFile::OutputFile(std::intptr_t handle) : handle_(handle) {}

OutputFile::~OutputFile() {
  copier_.reset();
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

bool OutputFile::CanCopyRange() const { return true; }

std::uint64_t OutputFile::CopyRange(rm::Source& from, std::uint64_t fromOffset,
                                    std::uint64_t toOffset, std::uint64_t size) {
  auto* file = dynamic_cast<InputFile*>(&from);
  if (file == nullptr) return 0;
  if (!copier_) {
    const int to = Fd(handle_);
    copier_ = std::make_unique<BackgroundCopy>(
        [to](const BackgroundCopy::Job& job) { return CopyJob(job, to); });
  }
  copier_->Add({file->handle_, fromOffset, toOffset, size});
  return size;  // a failure is reported by Close
}

bool OutputFile::FinishCopies(FileError& error) {
  if (!copier_) return true;
  const unsigned long failure = copier_->Stop();
  copier_.reset();
  if (failure == 0) return true;
  error = FromErrno(static_cast<int>(failure));
  return false;
}

bool OutputFile::Close(FileError& error) {
  const bool copied = FinishCopies(error);
  open_ = false;
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

bool SameFile(const Path& a, const Path& b) {
  struct stat sa {
  }, sb{};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace rmevents
