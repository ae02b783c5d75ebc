#include "startup/divide_file.h"

#include <string_view>

#include <windows.h>

#include "files/make_path.h"
#include "files/path_text.h"
#include "platform/text_conversion.h"
#include "platform/unique_handle.h"
#include "startup/busy_pointer.h"
#include "startup/divide_stream.h"
#include "startup/entry_name.h"
#include "startup/file_block_source.h"
#include "startup/file_time_text.h"

namespace startup {
namespace {

// Writes each entry below the target folder and notes its path in the written-files list.
class FolderSink final : public EntrySink {
 public:
  FolderSink(const std::wstring& targetDir, std::wstring& writtenList)
      : targetDir_(targetDir), writtenList_(writtenList) {}

  bool Write(std::span<const std::uint8_t> name, std::span<const std::uint8_t> content) override {
    const std::wstring path =
        EntryPath(targetDir_, platform::FromAnsi(std::string_view(
                                  reinterpret_cast<const char*>(name.data()), name.size())));
    const std::wstring folder = files::ParentFolder(path);
    if (!folder.empty() && !IsExistingFolder(folder)) files::MakePath(folder);
    writtenList_ += path;
    writtenList_ += L"\r\n";
    return WriteBytesToFile(path, content);
  }

 private:
  const std::wstring& targetDir_;
  std::wstring& writtenList_;
};

}  // namespace

int DivideFile(const std::wstring& sourcePath, const std::wstring& targetDir,
               std::span<const std::uint8_t> marker, std::wstring& writtenList) {
  if (sourcePath.empty() || targetDir.empty()) return 0;
  const std::wstring target = WithTrailingBackslash(targetDir);
  const BusyPointer busy;
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
  if (!file) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    // Large contents go in pieces a DWORD can count on every architecture.
    constexpr std::size_t kPiece = std::size_t{1} << 30;
    const auto want =
        static_cast<DWORD>(bytes.size() - done < kPiece ? bytes.size() - done : kPiece);
    DWORD wrote = 0;
    if (!WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr) || wrote == 0) {
      return false;
    }
    done += wrote;
  }
  return true;
}

}  // namespace startup
