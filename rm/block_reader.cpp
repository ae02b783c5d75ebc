#include "rm/block_reader.h"

#include <algorithm>
#include <cstring>

namespace rm {

BlockReader::BlockReader(Source& source, Error& error, std::size_t capacity)
    : source_(&source),
      error_(&error),
      // A small file needs no more buffer than its own size.
      buffer_(static_cast<std::size_t>(
          std::max<std::uint64_t>(1, std::min<std::uint64_t>(capacity, source.Size())))) {}

void BlockReader::Seek(std::uint64_t offset) {
  start_ = offset;
  head_ = 0;
  tail_ = 0;
}

bool BlockReader::Ensure(std::size_t n) {
  if (tail_ - head_ >= n) return true;
  if (n > buffer_.size() || RemainingInFile() < n) return false;
  // Keep the unconsumed bytes and fill the rest of the buffer in as few calls as the source allows.
  const std::size_t kept = tail_ - head_;
  if (head_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + head_, kept);
    start_ += head_;
    head_ = 0;
    tail_ = kept;
  }
  while (tail_ < n) {
    std::size_t got = 0;
    const std::uint64_t at = start_ + tail_;
    const std::size_t want = static_cast<std::size_t>(
        std::min<std::uint64_t>(buffer_.size() - tail_, source_->Size() - at));
    if (!source_->ReadSome(at, buffer_.data() + tail_, want, got)) {
      error_->Set(ErrorCode::kReadFailed, at, "read");
      return false;
    }
    if (got == 0) {
      error_->Set(ErrorCode::kTruncated, at, "file shorter than its reported size");
      return false;
    }
    tail_ += got;
  }
  return true;
}

}  // namespace rm
