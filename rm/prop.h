// PROP: file-wide properties. Most fields are derived from the streams and packets and are
// recomputed when a file is rewritten; duration, preroll and flags are kept.
#pragma once

#include <cstdint>

#include "rm/byte_cursor.h"
#include "rm/byte_order.h"

namespace rm {

inline constexpr std::uint32_t kPropSize = 50;

struct Properties {
  std::uint32_t maxBitRate = 0;
  std::uint32_t avgBitRate = 0;
  std::uint32_t maxPacketSize = 0;  // largest payload (packet length minus header)
  std::uint32_t avgPacketSize = 0;  // mean payload over all packets
  std::uint32_t numPackets = 0;
  std::uint32_t duration = 0;
  std::uint32_t preroll = 0;
  std::uint32_t indexOffset = 0;  // absolute offset of the first INDX, 0 if none
  std::uint32_t dataOffset = 0;   // absolute offset of the first DATA
  std::uint16_t numStreams = 0;
  std::uint16_t flags = 0;
  Bytes extra;  // bytes past the known fields, kept as they were
};

// Parses the whole chunk (header included).
Properties ParseProperties(ByteCursor& chunk);
Bytes SerializeProperties(const Properties& prop);

}  // namespace rm
