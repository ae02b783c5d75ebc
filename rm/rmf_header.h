// The .RMF chunk that opens every RealMedia file.
#pragma once

#include <cstdint>
#include <span>

#include "rm/byte_cursor.h"
#include "rm/byte_order.h"

namespace rm {

inline constexpr std::uint32_t kRmfMinSize = 18;

struct RmfHeader {
  std::uint32_t size = kRmfMinSize;
  std::uint16_t objectVersion = 0;
  std::uint32_t fileVersion = 0;
  std::uint32_t numHeaders = 0;
  Bytes extra;  // anything past the known fields, kept as it was
};

// Parses the whole chunk (header included). Records an error for a wrong id or version.
RmfHeader ParseRmfHeader(ByteCursor& chunk);
Bytes SerializeRmfHeader(const RmfHeader& rmf);

}  // namespace rm
