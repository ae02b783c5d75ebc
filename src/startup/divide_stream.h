// The dividing loop of the payload container, apart from where its bytes come from and where the
// entries go, so the same loop runs over the program's own file at start-up, over memory in the
// tests and over plain files in the benchmark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace startup {

// The container is read in blocks of this many bytes, the last one shorter.
inline constexpr std::size_t kBlockSize = 600;

class BlockSource {
 public:
  virtual ~BlockSource() = default;
  // Total number of bytes to read.
  [[nodiscard]] virtual std::uint64_t Length() const = 0;
  // Fills `block` whole with the next bytes; false when that is not possible.
  [[nodiscard]] virtual bool Read(std::span<std::uint8_t> block) = 0;
};

// Receives the entries in order: each entry's content in one or more pieces, then its name.
// Content not followed by a name when the division ends belongs to no entry and must not become a
// file.
class EntrySink {
 public:
  virtual ~EntrySink() = default;
  // The next bytes of the current entry's content; false ends the division.
  [[nodiscard]] virtual bool Content(std::span<const std::uint8_t> bytes) = 0;
  // The current entry is complete and named `name` (ANSI code page bytes); false ends the
  // division.
  [[nodiscard]] virtual bool EndEntry(std::span<const std::uint8_t> name) = 0;
};

// Reads `source` in kBlockSize blocks and hands every entry to `sink`, in order, its content as
// soon as no marker can begin in it. A `marker` of fewer than two bytes means the default marker.
// Returns the number of entries completed, or 0 when reading fails, the sink fails, a name length
// has its high byte at 0x80 or more, or the default marker text is bad; entries completed before
// a failure stay completed. Bytes after the last trailer, and a trailer cut off by the end of the
// file, complete no entry.
[[nodiscard]] int DivideStream(BlockSource& source, std::span<const std::uint8_t> marker,
                               EntrySink& sink);

}  // namespace startup
