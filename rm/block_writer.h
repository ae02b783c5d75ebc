// Sequential writing through one large buffer, with the ability to go back and patch bytes that
// were written earlier (chunk headers whose counts are known only at the chunk's end). Large
// blocks bypass the buffer so packet runs are written straight from the reader's buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "rm/error.h"
#include "rm/output_check.h"
#include "rm/source.h"

namespace rm {

class BlockWriter {
 public:
  static constexpr std::size_t kDefaultCapacity = std::size_t{1} << 20;

  // Every byte written and patched is also handed to `check`, when there is one.
  BlockWriter(Sink& sink, Error& error, OutputCheck* check = nullptr,
              std::size_t capacity = kDefaultCapacity);

  // Offset at which the next Write lands.
  std::uint64_t Position() const { return flushed_ + buffer_.size(); }
  void Write(std::span<const std::uint8_t> data);
  // Overwrites bytes that were already written (flushed or not).
  void Patch(std::uint64_t offset, std::span<const std::uint8_t> data);
  // Appends packets that are `from`'s bytes at `fromOffset`, unchanged: copied by the system where
  // it can (they never enter this process), else written from `bytes`, a view of them.
  void CopyPackets(Source& from, std::uint64_t fromOffset, std::span<const std::uint8_t> bytes);
  void Flush();

 private:
  // Tells the check where bytes reached the sink.
  void Landed(std::uint64_t offset, std::uint64_t size);

  Sink* sink_;
  Error* error_;
  OutputCheck* check_;
  std::size_t capacity_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t flushed_ = 0;  // bytes already handed to the sink
};

}  // namespace rm
