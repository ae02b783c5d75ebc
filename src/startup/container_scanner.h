// Finding the trailers of an appended-payload container while it is read block by block.
//
// A container is a run of entries, each its content followed by a trailer: the marker, a 2-byte
// little-endian name length (high byte below 0x80) and the name in the ANSI code page. The scanner
// holds the bytes from the start of the current entry's content to the last byte appended, and
// searches each byte for the marker only once: after a block without a marker it keeps just the
// last (marker length - 1) bytes as unsearched overlap, so dividing stays linear in the file size
// even though the program image (the first entry) is several megabytes of 600-byte blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace startup {

class ContainerScanner {
 public:
  struct Entry {
    std::span<const std::uint8_t> content;
    std::span<const std::uint8_t> name;  // ANSI code page bytes, no terminator
  };

  enum class Step {
    kNeedMore,       // no complete trailer in the bytes appended so far
    kEntry,          // one entry found; its spans stay valid until the next Append
    kBadNameLength,  // a trailer whose name length has its high byte at 0x80 or more
  };

  // `marker` must hold at least one byte.
  explicit ContainerScanner(std::vector<std::uint8_t> marker);

  void Append(std::span<const std::uint8_t> block);

  // The next complete entry among the bytes appended so far. Call it until it stops returning
  // kEntry before appending more.
  [[nodiscard]] Step Next(Entry& entry);

 private:
  std::vector<std::uint8_t> marker_;
  std::vector<std::uint8_t> buffer_;
  std::size_t start_ = 0;       // first byte of the current entry's content
  std::size_t searchFrom_ = 0;  // no marker begins in [start_, searchFrom_)
};

}  // namespace startup
