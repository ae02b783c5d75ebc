// Windows files through the wide API: names arrive as UTF-16 from wmain, so blanks, Chinese
// characters and % need no care here. Reads and writes name their offset in an OVERLAPPED on a
// synchronous handle, which gives 64-bit positioned I/O without moving a shared file pointer.
#include "file_io.h"

#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace rmevents {

namespace {

FileError LastError() { return FromSystemCode(GetLastError()); }

HANDLE H(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(offset);
  o.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return o;
}

// Caps a single call so the byte count fits a DWORD.
DWORD Chunk(std::size_t size) { return static_cast<DWORD>(size < (1u << 30) ? size : (1u << 30)); }

// The identity of an open file. (ReFS's 128-bit file ids would need
// GetFileInformationByHandleEx(FileIdInfo), Windows 8 on; NTFS and FAT fit the 64-bit index.)
bool IdentityOfHandle(HANDLE h, FileIdentity& identity) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) return false;
  identity.volume = info.dwVolumeSerialNumber;
  identity.index = std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
  return true;
}

// Early flushes are worth their cost only every few tens of megabytes: each one also commits the
// file system's journal.
constexpr std::uint64_t kFlushStep = std::uint64_t{32} << 20;

}  // namespace

// The thread flushes through a duplicate of the writing handle: a handle opened anew with write
// access would need the file shared for writing, which would let any other process write into it
// as well. The duplicate needs no sharing. Under Wine its flushes do not hold up the writes (each
// call goes to the host file on its own); on Windows the duplicate shares the writing handle's
// synchronous file object, whose calls take turns, so a flush holds up the next write there as
// a flush on the writing thread would, and the disk still starts early.
struct Writeback::Flusher {
  explicit Flusher(HANDLE handle) : own(handle), thread([this] { Work(); }) {}
  ~Flusher() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stopping = true;
    }
    wake.notify_one();
    thread.join();
    CloseHandle(own);
  }
  void Request() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      requested = true;
    }
    wake.notify_one();
  }
  void Work() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      wake.wait(lock, [this] { return stopping || requested; });
      if (stopping) return;
      requested = false;
      lock.unlock();
      (void)FlushFileBuffers(own);  // a failure shows again in the flush before the rename
      lock.lock();
    }
  }

  HANDLE own;
  std::mutex mutex;
  std::condition_variable wake;
  bool requested = false, stopping = false;
  std::thread thread;  // last: starts once the rest is ready
};

void Writeback::Wrote(std::intptr_t output, std::uint64_t offset, std::uint64_t size) {
  if (!StepDone(offset, size, kFlushStep)) return;
  begin_ = end_;
  if (!flusher_) {
    HANDLE own = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), H(output), GetCurrentProcess(), &own, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
      return;  // then everything waits for the last flush
    }
    flusher_ = std::make_unique<Flusher>(own);
  }
  flusher_->Request();
}

void Writeback::Finish() { flusher_.reset(); }

Writeback::~Writeback() = default;

std::unique_ptr<InputFile> InputFile::Open(const Path& path, FileError& error) {
  // Others may keep reading (and a player may even hold the film open) while we copy it.
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = LastError();
    return nullptr;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  LARGE_INTEGER size{};
  if (!GetFileInformationByHandle(h, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      !GetFileSizeEx(h, &size)) {
    error = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ? FileError{FileProblem::kNotAFile, 0}
                : LastError();
    CloseHandle(h);
    return nullptr;
  }
  return std::unique_ptr<InputFile>(
      new InputFile(reinterpret_cast<std::intptr_t>(h), static_cast<std::uint64_t>(size.QuadPart)));
}

InputFile::~InputFile() { CloseHandle(H(handle_)); }

bool InputFile::ReadSome(std::uint64_t offset, std::uint8_t* buffer, std::size_t size,
                         std::size_t& got) {
  OVERLAPPED o = At(offset);
  DWORD n = 0;
  if (!ReadFile(H(handle_), buffer, Chunk(size), &n, &o)) {
    if (GetLastError() != ERROR_HANDLE_EOF) return false;
    n = 0;
  }
  got = n;
  return true;
}

std::unique_ptr<OutputFile> OutputFile::Create(const Path& path, FileError& error) {
  // Readers may look (the file is not written through them); writers are refused while we write.
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  FileIdentity identity;
  if (h == INVALID_HANDLE_VALUE || !IdentityOfHandle(h, identity)) {
    error = LastError();
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return nullptr;
  }
  return std::unique_ptr<OutputFile>(new OutputFile(reinterpret_cast<std::intptr_t>(h), identity));
}

OutputFile::OutputFile(std::intptr_t handle, const FileIdentity& identity)
    : handle_(handle), identity_(identity) {}

OutputFile::~OutputFile() {
  writeback_.Finish();
  if (open_) CloseHandle(H(handle_));
}

bool OutputFile::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
  if (!WriteAll(handle_, offset, data)) {
    writeFailure_ = LastError();
    failedWriteEnd_ = offset + data.size();
    return false;
  }
  writeback_.Wrote(handle_, offset, data.size());
  return true;
}

bool OutputFile::WriteAll(std::intptr_t handle, std::uint64_t offset,
                          std::span<const std::uint8_t> data) {
  while (!data.empty()) {
    OVERLAPPED o = At(offset);
    DWORD n = 0;
    if (!WriteFile(H(handle), data.data(), Chunk(data.size()), &n, &o) || n == 0) return false;
    data = data.subspan(n);
    offset += n;
  }
  return true;
}

// No copies here: Windows has no in-kernel copy of a range, and a second thread reading the runs
// again and writing them through the same handles ran several times slower under Wine than
// writing them from the read buffer.
bool OutputFile::CanCopyRange() const { return false; }

std::uint64_t OutputFile::CopyRange(rm::Source& /*from*/, std::uint64_t /*fromOffset*/,
                                    std::uint64_t /*toOffset*/, std::uint64_t /*size*/) {
  return 0;
}

bool OutputFile::FinishCopies(FileError& /*error*/) { return true; }

bool OutputFile::Close(FileError& error) {
  const bool copied = FinishCopies(error);
  writeback_.Finish();
  open_ = false;
  // On the disk before it is renamed (see file_io_posix.cpp).
  if (!FlushFileBuffers(H(handle_))) {
    error = LastError();
    CloseHandle(H(handle_));
    return false;
  }
  if (!CloseHandle(H(handle_))) {
    if (copied) error = LastError();
    return false;
  }
  return copied;
}

bool MoveReplacing(const Path& from, const Path& to, FileError& error) {
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = LastError();
    return false;
  }
  return true;
}

bool DeleteIfPresent(const Path& path) { return DeleteFileW(path.c_str()) != 0; }

bool IdentityOf(const Path& path, FileIdentity& identity) {
  const HANDLE h = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = IdentityOfHandle(h, identity);
  CloseHandle(h);
  return ok;
}

}  // namespace rmevents
