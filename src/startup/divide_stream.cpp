#include "startup/divide_stream.h"

#include <algorithm>
#include <array>
#include <utility>

#include "startup/container_scanner.h"
#include "startup/hex_text.h"

namespace startup {

int DivideStream(BlockSource& source, std::span<const std::uint8_t> marker, EntrySink& sink) {
  auto chosen = ChooseMarker(marker);
  if (!chosen || chosen->empty()) return 0;
  ContainerScanner scanner(std::move(*chosen));

  const std::uint64_t length = source.Length();
  std::array<std::uint8_t, kBlockSize> block{};
  int count = 0;
  for (std::uint64_t offset = 0; offset < length; offset += kBlockSize) {
    const auto size =
        static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSize, length - offset));
    const std::span<std::uint8_t> bytes(block.data(), size);
    if (!source.Read(bytes)) return 0;
    scanner.Append(bytes);
    for (;;) {
      std::span<const std::uint8_t> piece;
      const auto step = scanner.Next(piece);
      if (step == ContainerScanner::Step::kNeedMore) break;
      if (step == ContainerScanner::Step::kBadNameLength) return 0;
      if (step == ContainerScanner::Step::kContent) {
        if (!sink.Content(piece)) return 0;
        continue;
      }
      if (!sink.EndEntry(piece)) return 0;
      ++count;
    }
  }
  return count;
}

}  // namespace startup
