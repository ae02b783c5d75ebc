// DATA chunk headers. Packets follow the 18-byte header; several DATA chunks may be chained.
#pragma once

#include <cstdint>

#include "rm/byte_cursor.h"
#include "rm/byte_order.h"

namespace rm {

inline constexpr std::uint32_t kDataHeaderSize = 18;

struct DataHeader {
  std::uint32_t size = 0;  // as stored; FFmpeg writes 18 too many
  std::uint16_t version = 0;
  std::uint32_t numPackets = 0;      // 0: count unknown (live or broken files)
  std::uint32_t nextDataHeader = 0;  // absolute offset of the next DATA, 0 for the last
};

// Parses the 18 header bytes; a wrong id is recorded as kBadChain (something pointed here).
DataHeader ParseDataHeader(ByteCursor& in);
Bytes SerializeDataHeader(std::uint32_t size, std::uint32_t numPackets, std::uint32_t next);

}  // namespace rm
