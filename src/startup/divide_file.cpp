#include "startup/divide_file.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include <windows.h>

#include "files/make_path.h"
#include "files/path_text.h"
#include "platform/screen_pointer.h"
#include "platform/text_conversion.h"
#include "platform/unique_handle.h"
#include "startup/divide_stream.h"
#include "startup/entry_name.h"
#include "startup/file_block_source.h"
#include "startup/file_time_text.h"

namespace startup {
namespace {

// Contents up to this size are collected in memory and written at once; larger ones (the program
// image is megabytes) go through a temporary file, so a division needs no memory of the size of
// what it divides. Under Wine, touching that much fresh memory costs more than reading the file.
constexpr std::size_t kMemoryLimit = 64 * 1024;

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    // Large contents go in pieces a DWORD can count on every architecture.
    constexpr std::size_t kPiece = std::size_t{1} << 30;
    const auto want = static_cast<DWORD>(std::min(bytes.size() - done, kPiece));
    DWORD wrote = 0;
    if (!WriteFile(file, bytes.data() + done, want, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return true;
}

// A fresh empty file in `folder` (which must exist), for a content too large to hold.
std::wstring NewSpillFile(const std::wstring& folder) {
  wchar_t path[MAX_PATH] = {};
  if (folder.empty() || folder.size() > MAX_PATH - 14) return {};
  if (GetTempFileNameW(folder.c_str(), L"qxd", 0, path) == 0) return {};
  return path;
}

// Writes each entry where its name says and notes its path in the written-files list.
class FolderSink final : public EntrySink {
 public:
  FolderSink(const std::wstring& targetDir, std::wstring& writtenList)
      : targetDir_(targetDir), writtenList_(writtenList) {}
  ~FolderSink() override { DropSpill(); }
  FolderSink(const FolderSink&) = delete;
  FolderSink& operator=(const FolderSink&) = delete;

  bool Content(std::span<const std::uint8_t> bytes) override {
    if (pending_.size() + bytes.size() > kMemoryLimit) {
      if (!Spill(pending_)) return false;
      pending_.clear();
      if (bytes.size() > kMemoryLimit) return Spill(bytes);
    }
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    return true;
  }

  bool EndEntry(std::span<const std::uint8_t> name) override {
    const std::wstring path =
        EntryPath(targetDir_, platform::FromAnsi(std::string_view(
                                  reinterpret_cast<const char*>(name.data()), name.size())));
    const std::wstring folder = files::ParentFolder(path);
    if (!folder.empty() && !IsExistingFolder(folder)) files::MakePath(folder);
    writtenList_ += path;
    writtenList_ += L"\r\n";
    bool written = false;
    if (spillPath_.empty()) {
      written = WriteBytesToFile(path, pending_);
    } else if (Spill(pending_)) {
      spill_.Reset();
      // Replaces a longer old file whole, as writing it afresh would.
      written = MoveFileExW(spillPath_.c_str(), path.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
      if (written) spillPath_.clear();
    }
    pending_.clear();
    DropSpill();
    return written;
  }

 private:
  bool Spill(std::span<const std::uint8_t> bytes) {
    if (!spill_) {
      // Beside the target when it exists, where the rename is cheap; else in the system's
      // temporary folder, so that a division never makes folders that no entry asks for.
      spillPath_ = IsExistingFolder(targetDir_) ? NewSpillFile(targetDir_) : std::wstring();
      if (spillPath_.empty()) {
        wchar_t temp[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        if (length > 0 && length <= MAX_PATH) spillPath_ = NewSpillFile(temp);
      }
      if (spillPath_.empty()) return false;
      spill_.Reset(CreateFileW(spillPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!spill_) return false;
    }
    return WriteAll(spill_.Get(), bytes);
  }

  void DropSpill() {
    spill_.Reset();
    if (!spillPath_.empty()) DeleteFileW(spillPath_.c_str());
    spillPath_.clear();
  }

  const std::wstring& targetDir_;
  std::wstring& writtenList_;
  std::vector<std::uint8_t> pending_;
  std::wstring spillPath_;  // the temporary file of the current entry, while there is one
  platform::UniqueHandle spill_;
};

}  // namespace

int DivideFile(const std::wstring& sourcePath, const std::wstring& targetDir,
               std::span<const std::uint8_t> marker, std::wstring& writtenList) {
  if (sourcePath.empty() || targetDir.empty()) return 0;
  const std::wstring target = WithTrailingBackslash(targetDir);
  const platform::BusyPointerScope busy;
  const auto source = FileBlockSource::Open(sourcePath);
  if (!source) return 0;
  FolderSink sink(target, writtenList);
  return DivideStream(*source, marker, sink);
}

bool WriteBytesToFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
  // CREATE_ALWAYS refuses to replace a hidden or system file unless those attributes are asked
  // for again; the old file keeps them, as a replacement in place would.
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  const DWORD old = GetFileAttributesW(path.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    const DWORD kept = old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if (kept != 0) attributes = kept;
  }
  platform::UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
  return file && WriteAll(file.Get(), bytes);
}

}  // namespace startup
