// MDPR: one media stream's properties, and what its MIME type says about the stream.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rm/byte_cursor.h"
#include "rm/byte_order.h"

namespace rm {

struct MediaProperties {
  std::uint16_t streamNumber = 0;
  std::uint32_t maxBitRate = 0;
  std::uint32_t avgBitRate = 0;
  std::uint32_t maxPacketSize = 0;
  std::uint32_t avgPacketSize = 0;
  std::uint32_t startTime = 0;
  std::uint32_t preroll = 0;
  std::uint32_t duration = 0;
  std::string name;  // bytes as stored (no declared encoding)
  std::string mime;
  Bytes typeSpecific;
  Bytes extra;  // bytes past the type-specific data, kept as they were
};

// Parses the whole chunk (header included).
MediaProperties ParseMediaProperties(ByteCursor& chunk);
Bytes SerializeMediaProperties(const MediaProperties& mdpr);

// Event streams: everything the events tool strips (plain, multirate, encrypted, logical).
bool IsEventMime(std::string_view mime);
// Image maps (RMEvents' -m); this tool keeps them untouched.
bool IsImageMapMime(std::string_view mime);
// SureStream grouping streams, whose type-specific data lists other streams' numbers.
bool IsLogicalMime(std::string_view mime);

}  // namespace rm
