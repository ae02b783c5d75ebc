// Sequential reading through one large buffer, so that walking the packets of a big file costs a
// read call per megabyte rather than one per packet. The buffered bytes are mutable: the rewriter
// patches stream numbers in place and writes kept runs straight from this buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "rm/error.h"
#include "rm/source.h"

namespace rm {

class BlockReader {
 public:
  static constexpr std::size_t kDefaultCapacity = std::size_t{1} << 20;

  BlockReader(Source& source, Error& error, std::size_t capacity = kDefaultCapacity);

  // Absolute offset of the next unconsumed byte.
  std::uint64_t Position() const { return start_ + head_; }
  std::uint64_t RemainingInFile() const { return source_->Size() - Position(); }
  // Drops the buffer and continues reading at `offset`.
  void Seek(std::uint64_t offset);
  // Makes at least n bytes available from Position(). False when the file ends first (no error
  // is recorded then; the caller knows what was expected) or when a read fails (recorded). Moves
  // the buffered bytes: spans taken from Available() before the call are no longer valid.
  [[nodiscard]] bool Ensure(std::size_t n);
  // The buffered bytes from Position() on.
  std::span<std::uint8_t> Available() { return {buffer_.data() + head_, tail_ - head_}; }
  void Consume(std::size_t n) { head_ += n; }

 private:
  Source* source_;
  Error* error_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t start_ = 0;  // file offset of buffer_[0]
  std::size_t head_ = 0;     // first unconsumed byte
  std::size_t tail_ = 0;     // end of the valid bytes
};

}  // namespace rm
