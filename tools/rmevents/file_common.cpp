// The parts of file handling that need no system call of their own.
#include "file_io.h"

#include <algorithm>

namespace rmevents {

std::string Describe(const FileError& error) {
  switch (error.problem) {
    case FileProblem::kNone:
      return "没有错误";
    case FileProblem::kNotFound:
      return "文件不存在";
    case FileProblem::kAccessDenied:
      return "没有访问权限";
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
