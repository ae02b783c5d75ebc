#include "startup/container_scanner.h"

#include <cstring>
#include <utility>

namespace startup {
namespace {

constexpr std::size_t kNameLengthBytes = 2;

// First position at or after `from` where `marker` begins entirely inside `bytes`, or bytes.size().
std::size_t FindMarker(const std::vector<std::uint8_t>& bytes, std::size_t from,
                       const std::vector<std::uint8_t>& marker) {
  const std::size_t size = bytes.size();
  const std::size_t length = marker.size();
  if (size < length) return size;
  const std::size_t lastStart = size - length;
  const std::uint8_t* data = bytes.data();
  std::size_t at = from;
  while (at <= lastStart) {
    const void* hit = std::memchr(data + at, marker[0], lastStart - at + 1);
    if (hit == nullptr) return size;
    at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data);
    if (std::memcmp(data + at + 1, marker.data() + 1, length - 1) == 0) return at;
    ++at;
  }
  return size;
}

}  // namespace

ContainerScanner::ContainerScanner(std::vector<std::uint8_t> marker) : marker_(std::move(marker)) {}

void ContainerScanner::Append(std::span<const std::uint8_t> block) {
  // Entries already handed out are dropped here rather than in Next, so their spans stay valid
  // until the caller appends again and a buffer holding many small entries is moved only once.
  if (start_ > 0) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    searchFrom_ -= start_;
    start_ = 0;
  }
  buffer_.insert(buffer_.end(), block.begin(), block.end());
}

ContainerScanner::Step ContainerScanner::Next(Entry& entry) {
  const std::size_t size = buffer_.size();
  const std::size_t at = FindMarker(buffer_, searchFrom_, marker_);
  if (at == size) {
    // Every start position that still has room for a whole marker has been ruled out; the last
    // (marker length - 1) bytes may begin a marker that the next block completes.
    const std::size_t overlap = marker_.size() - 1;
    if (size > overlap && size - overlap > searchFrom_) searchFrom_ = size - overlap;
    return Step::kNeedMore;
  }
  // The marker stays found; an incomplete trailer is read again from here after the next block.
  searchFrom_ = at;
  const std::size_t lengthAt = at + marker_.size();
  if (size < lengthAt + kNameLengthBytes) return Step::kNeedMore;
  const std::uint8_t low = buffer_[lengthAt];
  const std::uint8_t high = buffer_[lengthAt + 1];
  if (high >= 0x80) return Step::kBadNameLength;
  const std::size_t nameLength = static_cast<std::size_t>(low) | (std::size_t{high} << 8);
  const std::size_t nameAt = lengthAt + kNameLengthBytes;
  if (size < nameAt + nameLength) return Step::kNeedMore;

  entry.content = std::span<const std::uint8_t>(buffer_.data() + start_, at - start_);
  entry.name = std::span<const std::uint8_t>(buffer_.data() + nameAt, nameLength);
  start_ = nameAt + nameLength;
  searchFrom_ = start_;
  return Step::kEntry;
}

}  // namespace startup
