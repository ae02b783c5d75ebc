// Timed events carried by an event stream: what the payload of one event packet holds.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "rm/byte_order.h"

namespace rm {

// Type codes. URL is what RealProducer writes; title, author and copyright are this tool's own
// choice (no public source gives theirs) and are documented in tools/rmevents/README.md.
inline constexpr std::uint16_t kEventUrl = 0x0020;
inline constexpr std::uint16_t kEventTitle = 0x0021;
inline constexpr std::uint16_t kEventAuthor = 0x0022;
inline constexpr std::uint16_t kEventCopyright = 0x0023;

// Times are kept in deciseconds, the unit the payload uses; packet timestamps are ms.
inline constexpr std::uint32_t kMaxEventDs = 0xFFFFFFFFu / 100;
inline constexpr std::size_t kEventPayloadHead = 14;
// The packet length is a u16 that includes its 12-byte header.
inline constexpr std::size_t kMaxEventText = 0xFFFF - 12 - kEventPayloadHead;

struct Event {
  std::uint32_t startDs = 0;
  std::uint32_t endDs = 0;
  std::uint16_t type = kEventUrl;
  std::string text;  // bytes as stored: URLs are ASCII, titles the producer's code page

  bool operator==(const Event&) const = default;
};

// Reads one event payload. False if the payload is too short or its string does not fit.
[[nodiscard]] bool ParseEventPayload(std::span<const std::uint8_t> payload, Event& out);
// The payload for `event`, numbered `sequence` within its stream.
Bytes BuildEventPayload(const Event& event, std::uint16_t sequence);

}  // namespace rm
