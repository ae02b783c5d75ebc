#include "rm/event.h"

namespace rm {

bool ParseEventPayload(std::span<const std::uint8_t> payload, Event& out) {
  if (payload.size() < kEventPayloadHead) return false;
  const std::uint8_t* p = payload.data();
  out.startDs = GetU32(p + 2);
  out.endDs = GetU32(p + 6);
  const std::uint16_t len = GetU16(p + 10);
  out.type = GetU16(p + 12);
  // `len` counts the type code and the string.
  if (len < 2 || std::size_t{len} - 2 > payload.size() - kEventPayloadHead) return false;
  out.text.assign(p + kEventPayloadHead, p + kEventPayloadHead + (len - 2));
  return true;
}

Bytes BuildEventPayload(const Event& event, std::uint16_t sequence) {
  Bytes out;
  PutU16(out, sequence);
  PutU32(out, event.startDs);
  PutU32(out, event.endDs);
  PutU16(out, static_cast<std::uint16_t>(event.text.size() + 2));
  PutU16(out, event.type);
  PutText(out, event.text);
  return out;
}

}  // namespace rm
