#include "startup/file_block_source.h"

#include <windows.h>

#include "platform/unique_handle.h"

namespace startup {

std::unique_ptr<FileBlockSource> FileBlockSource::Open(const std::wstring& path) {
  platform::UniqueHandle file(CreateFileW(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return nullptr;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return nullptr;
  return std::unique_ptr<FileBlockSource>(
      new FileBlockSource(file.Release(), static_cast<std::uint64_t>(size.QuadPart)));
}

FileBlockSource::~FileBlockSource() { platform::UniqueHandle closing(handle_); }

bool FileBlockSource::Read(std::span<std::uint8_t> block) {
  std::size_t done = 0;
  while (done < block.size()) {
    DWORD got = 0;
    const auto want = static_cast<DWORD>(block.size() - done);
    if (!ReadFile(handle_, block.data() + done, want, &got, nullptr) || got == 0) return false;
    done += got;
  }
  return true;
}

}  // namespace startup
