// Containers in memory for the dividing tests: a block source that records how it is read, a sink
// that records what it is given, and builders for well-formed and damaged containers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pack/container_join.h"
#include "startup/divide_stream.h"
#include "startup/hex_text.h"

namespace startup_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes DefaultMarker() { return *startup::HexTextToBytes(startup::kDefaultMarkerText); }

inline Bytes TextBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Bytes with many 'Q' (the marker's first byte) and marker prefixes, but never the marker.
inline Bytes NoiseBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  const Bytes marker = DefaultMarker();
  Bytes bytes;
  bytes.reserve(size);
  while (bytes.size() < size) {
    const unsigned pick = random() % 8;
    if (pick == 0) {
      const std::size_t prefix = 1 + random() % (marker.size() - 1);
      bytes.insert(bytes.end(), marker.begin(), marker.begin() + static_cast<long>(prefix));
    } else {
      bytes.push_back(pick == 1 ? std::uint8_t{'Q'} : static_cast<std::uint8_t>(random()));
    }
  }
  bytes.resize(size);
  // A prefix followed by its own continuation by chance is astronomically unlikely, but cheap to
  // rule out: the tests depend on it.
  for (std::size_t at = 0; at + marker.size() <= bytes.size(); ++at) {
    if (std::memcmp(bytes.data() + at, marker.data(), marker.size()) == 0) bytes[at] ^= 0xFF;
  }
  return bytes;
}

struct Entry {
  std::string name;
  Bytes content;
  bool operator==(const Entry&) const = default;
};

// Container text built piece by piece, damaged ones included.
class ContainerBuilder {
 public:
  explicit ContainerBuilder(Bytes marker = DefaultMarker()) : marker_(std::move(marker)) {}
  ContainerBuilder& Add(const Bytes& content, std::string_view name) {
    Raw(content);
    return Raw(pack::Trailer(marker_, name));
  }
  ContainerBuilder& Raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  ContainerBuilder& Marker() { return Raw(marker_); }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes marker_;
  Bytes bytes_;
};

class MemorySource final : public startup::BlockSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Length() const override { return bytes_.size(); }
  bool Read(std::span<std::uint8_t> block) override {
    if (reads.size() == failingRead || at_ + block.size() > bytes_.size()) return false;
    std::memcpy(block.data(), bytes_.data() + at_, block.size());
    at_ += block.size();
    reads.push_back(block.size());
    return true;
  }
  std::vector<std::size_t> reads;  // the size of every block read
  std::size_t failingRead = std::numeric_limits<std::size_t>::max();

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

class RecordingSink final : public startup::EntrySink {
 public:
  bool Content(std::span<const std::uint8_t> bytes) override {
    if (refuseContent) return false;
    current_.insert(current_.end(), bytes.begin(), bytes.end());
    largestPiece = std::max(largestPiece, bytes.size());
    return true;
  }
  bool EndEntry(std::span<const std::uint8_t> name) override {
    if (entries.size() == failingEnd) return false;
    entries.push_back({std::string(name.begin(), name.end()), std::move(current_)});
    current_.clear();
    return true;
  }
  std::vector<Entry> entries;  // completed entries only
  std::size_t largestPiece = 0;
  std::size_t failingEnd = std::numeric_limits<std::size_t>::max();
  bool refuseContent = false;

 private:
  Bytes current_;
};

struct Division {
  int count = 0;
  std::vector<Entry> entries;
};

inline Division Divide(const Bytes& container, const Bytes& marker = {}) {
  MemorySource source(container);
  RecordingSink sink;
  const int count = startup::DivideStream(source, marker, sink);
  return {count, sink.entries};
}

}  // namespace startup_test
