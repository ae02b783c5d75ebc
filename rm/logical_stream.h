// The type-specific data of a `logical-*` stream (SureStream): which physical streams it groups
// and which stream each ASM rule maps to. Both lists hold stream numbers, so they change when
// streams are renumbered; the name/value properties after them are left alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "rm/byte_order.h"
#include "rm/error.h"

namespace rm {

struct LogicalStream {
  std::vector<std::uint16_t> physicalStreams;
  std::vector<std::uint32_t> dataOffsets;
  std::vector<std::uint16_t> ruleStreams;
  // Where the lists start inside the type-specific bytes.
  std::size_t physicalAt = 0;
  std::size_t dataOffsetsAt = 0;
  std::size_t ruleStreamsAt = 0;
};

// Parses `typeSpecific` (its first byte lies at absolute `baseOffset`, for messages).
[[nodiscard]] bool ParseLogicalStream(std::span<const std::uint8_t> typeSpecific,
                                      std::uint64_t baseOffset, LogicalStream& out, Error& error);

// Writes the lists of `stream` back into `typeSpecific` (same sizes, same places).
void StoreLogicalStream(const LogicalStream& stream, Bytes& typeSpecific);

}  // namespace rm
