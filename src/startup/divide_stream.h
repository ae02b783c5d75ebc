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

class EntrySink {
 public:
  virtual ~EntrySink() = default;
  // Writes one entry; false ends the division.
  [[nodiscard]] virtual bool Write(std::span<const std::uint8_t> name,
                                   std::span<const std::uint8_t> content) = 0;
};

// Reads `source` in kBlockSize blocks and hands every complete entry to `sink`, in order. A
// `marker` of fewer than two bytes means the default marker. Returns the number of entries
// written, or 0 when reading fails, the sink fails, a name length has its high byte at 0x80 or
// more, or the default marker text is bad; entries written before a failure stay written. Bytes
// after the last trailer, and a trailer cut off by the end of the file, give no entry.
[[nodiscard]] int DivideStream(BlockSource& source, std::span<const std::uint8_t> marker,
                               EntrySink& sink);

}  // namespace startup
