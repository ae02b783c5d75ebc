#include "rm/byte_cursor.h"

#include <utility>

#include "rm/byte_order.h"

namespace rm {

ByteCursor::ByteCursor(std::span<const std::uint8_t> data, std::uint64_t baseOffset, Error& error,
                       std::string context)
    : data_(data), base_(baseOffset), error_(&error), context_(std::move(context)) {}

bool ByteCursor::Have(std::size_t n) {
  if (failed_) return false;
  if (n > Remaining()) {
    Fail(ErrorCode::kOverrun, context_);
    return false;
  }
  return true;
}

void ByteCursor::Fail(ErrorCode code, std::string what) {
  failed_ = true;
  error_->Set(code, AbsoluteOffset(), std::move(what));
}

std::uint8_t ByteCursor::U8() {
  if (!Have(1)) return 0;
  return data_[pos_++];
}

std::uint16_t ByteCursor::U16() {
  if (!Have(2)) return 0;
  const std::uint16_t v = GetU16(data_.data() + pos_);
  pos_ += 2;
  return v;
}

std::uint32_t ByteCursor::U32() {
  if (!Have(4)) return 0;
  const std::uint32_t v = GetU32(data_.data() + pos_);
  pos_ += 4;
  return v;
}

std::span<const std::uint8_t> ByteCursor::Take(std::size_t n) {
  if (!Have(n)) return {};
  const auto part = data_.subspan(pos_, n);
  pos_ += n;
  return part;
}

ByteCursor ByteCursor::Child(std::size_t n, std::string context) {
  const std::uint64_t at = AbsoluteOffset();
  const auto part = Take(n);
  ByteCursor child(part, at, *error_, std::move(context));
  child.failed_ = failed_;
  return child;
}

}  // namespace rm
