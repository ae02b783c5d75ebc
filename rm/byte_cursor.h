// A read position inside a block of bytes that is already in memory (a header chunk, a packet
// header). Every read is checked against the block's end; a read that does not fit records an
// error in the shared Error, returns zeros and leaves the cursor failed, so a parser reads a whole
// structure and tests once at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "rm/error.h"

namespace rm {

class ByteCursor {
 public:
  // `baseOffset` is the absolute file offset of data[0], for messages; `context` names the block.
  ByteCursor(std::span<const std::uint8_t> data, std::uint64_t baseOffset, Error& error,
             std::string context);

  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  // The next n bytes, or an empty span after a failure.
  std::span<const std::uint8_t> Take(std::size_t n);
  void Skip(std::size_t n) { (void)Take(n); }
  // A cursor over the next n bytes, which this cursor steps over. A child shares the Error, so a
  // failure inside it is seen by the parent's Ok().
  ByteCursor Child(std::size_t n, std::string context);

  [[nodiscard]] bool Ok() const { return !failed_ && error_->Ok(); }
  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return data_.size() - pos_; }
  std::uint64_t AbsoluteOffset() const { return base_ + pos_; }
  // Records a failure at the current position.
  void Fail(ErrorCode code, std::string what);

 private:
  bool Have(std::size_t n);

  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  std::uint64_t base_;
  Error* error_;
  std::string context_;
  bool failed_ = false;
};

}  // namespace rm
