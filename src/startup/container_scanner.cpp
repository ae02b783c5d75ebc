#include "startup/container_scanner.h"

#include <cstring>
#include <utility>

namespace startup {
namespace {

constexpr std::size_t kNameLengthBytes = 2;

}  // namespace

ContainerScanner::ContainerScanner(std::vector<std::uint8_t> marker) : marker_(std::move(marker)) {
  // Horspool's shifts, indexed by the last byte of the window that did not match.
  skip_.fill(marker_.size());
  for (std::size_t i = 0; i + 1 < marker_.size(); ++i) skip_[marker_[i]] = marker_.size() - 1 - i;
}

std::size_t ContainerScanner::FindMarker(std::size_t from) const {
  // Looking at each window's last byte first skips most of the content: program images are full
  // of the marker's first byte ('Q' is push rcx), so searching for that byte would stop often.
  const std::size_t size = buffer_.size();
  const std::size_t last = marker_.size() - 1;
  const std::uint8_t* data = buffer_.data();
  for (std::size_t at = from; at + last < size; at += skip_[data[at + last]]) {
    if (data[at + last] == marker_[last] && std::memcmp(data + at, marker_.data(), last) == 0) {
      return at;
    }
  }
  return size;
}

void ContainerScanner::Append(std::span<const std::uint8_t> block) {
  // What was handed on is dropped here rather than in Next, so the spans stay valid until the
  // caller appends again. The buffer keeps at most a block, the overlap and one trailer.
  if (start_ > 0) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    searchFrom_ -= start_;
    start_ = 0;
  }
  buffer_.insert(buffer_.end(), block.begin(), block.end());
}

ContainerScanner::Step ContainerScanner::Next(std::span<const std::uint8_t>& bytes) {
  const std::size_t size = buffer_.size();
  const std::size_t at = FindMarker(searchFrom_);
  if (at == size) {
    // Every start position with room for a whole marker is ruled out; the last (marker length
    // - 1) bytes may begin a marker that the next block completes.
    const std::size_t overlap = marker_.size() - 1;
    if (size > overlap && size - overlap > searchFrom_) searchFrom_ = size - overlap;
  } else {
    // The marker stays found; an incomplete trailer is read again from here after the next block.
    searchFrom_ = at;
  }
  if (searchFrom_ > start_) {
    bytes = std::span<const std::uint8_t>(buffer_.data() + start_, searchFrom_ - start_);
    start_ = searchFrom_;
    return Step::kContent;
  }
  if (at == size) return Step::kNeedMore;

  const std::size_t lengthAt = at + marker_.size();
  if (size < lengthAt + kNameLengthBytes) return Step::kNeedMore;
  const std::uint8_t low = buffer_[lengthAt];
  const std::uint8_t high = buffer_[lengthAt + 1];
  if (high >= 0x80) return Step::kBadNameLength;
  const std::size_t nameLength = static_cast<std::size_t>(low) | (std::size_t{high} << 8);
  const std::size_t nameAt = lengthAt + kNameLengthBytes;
  if (size < nameAt + nameLength) return Step::kNeedMore;

  bytes = std::span<const std::uint8_t>(buffer_.data() + nameAt, nameLength);
  start_ = nameAt + nameLength;
  searchFrom_ = start_;
  return Step::kEntryEnd;
}

}  // namespace startup
