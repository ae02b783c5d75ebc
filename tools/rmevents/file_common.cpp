// The parts of file handling that need no system call of their own.
#include "file_io.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

namespace rmevents {

namespace {

#ifdef EDQUOT
constexpr int kQuotaErrno = EDQUOT;
#else
constexpr int kQuotaErrno = ENOSPC;  // MinGW has no EDQUOT, and its errno column is not used
#endif

// Each cause the report names, with the codes that mean it: errno values on POSIX systems, and
// GetLastError() values on Windows (numbers from winerror.h, so this file needs no windows.h).
// 0, which no failure has, fills the rows.
struct Cause {
  FileProblem problem;
  std::array<int, 3> posix;
  std::array<unsigned long, 3> windows;
};
constexpr Cause kCauses[] = {
    // ERROR_FILE_NOT_FOUND, ERROR_INVALID_NAME
    {FileProblem::kNotFound, {ENOENT}, {2, 123}},
    // ERROR_PATH_NOT_FOUND, ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME
    {FileProblem::kPathNotFound, {ENOTDIR}, {3, 53, 67}},
    // ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT
    {FileProblem::kAccessDenied, {EACCES, EPERM, EROFS}, {5, 19}},
    // ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_USER_MAPPED_FILE
    {FileProblem::kSharingViolation, {EBUSY, ETXTBSY}, {32, 33, 1224}},
    // ERROR_FILENAME_EXCED_RANGE
    {FileProblem::kPathTooLong, {ENAMETOOLONG}, {206}},
    // ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL, ERROR_DISK_QUOTA_EXCEEDED
    {FileProblem::kDiskFull, {ENOSPC, kQuotaErrno}, {112, 39, 1295}},
    {FileProblem::kNotAFile, {EISDIR}, {}},
};

FileProblem ProblemOf(unsigned long code, bool windowsCode) {
  if (code == 0) return FileProblem::kOther;
  for (const Cause& cause : kCauses) {
    if (windowsCode
            ? std::find(cause.windows.begin(), cause.windows.end(), code) != cause.windows.end()
            : std::find(cause.posix.begin(), cause.posix.end(), static_cast<int>(code)) !=
                  cause.posix.end()) {
      return cause.problem;
    }
  }
  return FileProblem::kOther;
}

}  // namespace

FileError FromSystemCode(unsigned long code) {
#ifdef _WIN32
  return {ProblemOf(code, true), code};
#else
  return {ProblemOf(code, false), code};
#endif
}

// std::filesystem reports errno values (generic category) on both systems for some calls, and the
// system's own codes for others.
FileError FromErrorCode(const std::error_code& code) {
  const auto value = static_cast<unsigned long>(code.value());
  if (code.category() == std::generic_category()) return {ProblemOf(value, false), value};
  return FromSystemCode(value);
}

Path FolderOf(const Path& file) { return file.has_parent_path() ? file.parent_path() : Path("."); }

std::string Describe(const FileError& error) {
  switch (error.problem) {
    case FileProblem::kNone:
      return "没有错误";
    case FileProblem::kNotFound:
      return "文件不存在";
    case FileProblem::kPathNotFound:
      return "路径不存在（找不到所在的文件夹）";
    case FileProblem::kAccessDenied:
      return "没有访问权限";
    case FileProblem::kSharingViolation:
      return "文件正被其他程序使用";
    case FileProblem::kPathTooLong:
      return "路径太长";
    case FileProblem::kDiskFull:
      return "磁盘空间不足";
    case FileProblem::kNotAFile:
      return "不是普通文件";
    case FileProblem::kTooLarge:
      return "文件太大";
    case FileProblem::kReadFailed:
      return "读取失败";
    case FileProblem::kOther:
      break;
  }
  return "系统错误 " + std::to_string(error.systemCode);
}

bool ReadSmallFile(const Path& path, std::size_t limit, std::string& bytes, FileError& error) {
  auto file = InputFile::Open(path, error);
  if (!file) return false;
  if (file->Size() > limit) {
    error = FileError{FileProblem::kTooLarge, 0};
    return false;
  }
  bytes.resize(static_cast<std::size_t>(file->Size()));
  rm::Error readError;
  if (!rm::ReadExact(*file, 0,
                     std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()),
                     readError, "file")) {
    error = FileError{FileProblem::kReadFailed, 0};
    return false;
  }
  return true;
}

bool SameFile(const Path& a, const Path& b) {
  FileIdentity ia, ib;
  return IdentityOf(a, ia) && IdentityOf(b, ib) && ia == ib;
}

bool Writeback::StepDone(std::uint64_t offset, std::uint64_t size, std::uint64_t step) {
  if (size < (std::uint64_t{64} << 10)) return false;
  if (end_ == begin_) begin_ = end_ = offset;
  begin_ = std::min(begin_, offset);
  end_ = std::max(end_, offset + size);
  return end_ - begin_ >= step;
}

#ifndef _WIN32
bool OutputFile::CanCopyRange() const { return true; }

// Runs of unchanged packets are copied by a second thread while this one reads and checks the
// next part of the film.
std::uint64_t OutputFile::CopyRange(rm::Source& from, std::uint64_t fromOffset,
                                    std::uint64_t toOffset, std::uint64_t size) {
  auto* file = dynamic_cast<InputFile*>(&from);
  if (file == nullptr) return 0;
  if (!copier_) {
    const std::intptr_t to = handle_;
    copier_ = std::make_unique<BackgroundCopy>(
        [to, writeback = Writeback{}](const BackgroundCopy::Job& job) mutable {
          const unsigned long failure = CopyJob(job, to);
          if (failure == 0) writeback.Wrote(to, job.toOffset, job.size);
          return failure;
        });
  }
  copier_->Add({file->handle_, fromOffset, toOffset, size});
  return size;  // a failure is reported by Close
}

bool OutputFile::FinishCopies(FileError& error) {
  if (!copier_) return true;
  const unsigned long failure = copier_->Stop();
  copier_.reset();
  if (failure == 0) return true;
  error = FromSystemCode(failure);
  return false;
}
#endif

}  // namespace rmevents
