// Finding the trailers of an appended-payload container while it is read block by block.
//
// A container is a run of entries, each its content followed by a trailer: the marker, a 2-byte
// little-endian name length (high byte below 0x80) and the name in the ANSI code page. The scanner
// searches each byte for the marker only once and hands content on as soon as no marker can begin
// in it: after a block without a marker it keeps just the last (marker length - 1) bytes as
// unsearched overlap. So dividing stays linear in the file size and needs no memory for the
// program image, which is several megabytes of 600-byte blocks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace startup {

class ContainerScanner {
 public:
  enum class Step {
    kNeedMore,       // nothing more to hand on until the next block is appended
    kContent,        // `bytes`: the next bytes of the current entry's content
    kEntryEnd,       // `bytes`: the name that closes the current entry; the next entry begins
    kBadNameLength,  // a trailer whose name length has its high byte at 0x80 or more
  };

  // `marker` must hold at least one byte.
  explicit ContainerScanner(std::vector<std::uint8_t> marker);
  ContainerScanner(const ContainerScanner&) = delete;
  ContainerScanner& operator=(const ContainerScanner&) = delete;

  void Append(std::span<const std::uint8_t> block);

  // The next piece found in the bytes appended so far; call it until it returns kNeedMore (or
  // kBadNameLength) before appending more. `bytes` stays valid until the next Append. Content
  // still held when the input ends belongs to no entry: bytes after the last trailer, or a trailer
  // cut off by the end of the file.
  [[nodiscard]] Step Next(std::span<const std::uint8_t>& bytes);

 private:
  // First position at or after `from` where the whole marker lies in the buffer, or its size.
  [[nodiscard]] std::size_t FindMarker(std::size_t from) const;

  std::vector<std::uint8_t> marker_;
  std::array<std::size_t, 256> skip_{};
  std::vector<std::uint8_t> buffer_;
  std::size_t start_ = 0;       // first byte not handed on yet
  std::size_t searchFrom_ = 0;  // no marker begins in [start_, searchFrom_)
};

}  // namespace startup
