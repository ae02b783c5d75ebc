// A file read from its first byte in blocks, for the dividing loop.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "startup/divide_stream.h"

namespace startup {

class FileBlockSource final : public BlockSource {
 public:
  // Nothing when the file cannot be opened for reading or its length cannot be taken. Other
  // programs may read the file meanwhile: the running program's own file is always open.
  [[nodiscard]] static std::unique_ptr<FileBlockSource> Open(const std::wstring& path);
  ~FileBlockSource() override;

  [[nodiscard]] std::uint64_t Length() const override { return length_; }
  [[nodiscard]] bool Read(std::span<std::uint8_t> block) override;

 private:
  FileBlockSource(void* handle, std::uint64_t length) : handle_(handle), length_(length) {}
  void* handle_;  // closed by the destructor
  std::uint64_t length_;
};

}  // namespace startup
