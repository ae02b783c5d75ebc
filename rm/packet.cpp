#include "rm/packet.h"

#include "rm/byte_order.h"

namespace rm {

PacketCheck ParsePacketHeader(std::span<const std::uint8_t> bytes, PacketHeader& out) {
  if (bytes.size() < 2) return PacketCheck::kNeedMore;
  out.version = GetU16(bytes.data());
  if (out.version > 1) return PacketCheck::kBadVersion;
  if (bytes.size() < out.HeaderSize()) return PacketCheck::kNeedMore;
  out.length = GetU16(bytes.data() + 2);
  out.stream = GetU16(bytes.data() + 4);
  out.timestamp = GetU32(bytes.data() + 6);
  out.flags = out.version == 0 ? bytes[11] : bytes[12];
  if (out.length < out.HeaderSize()) return PacketCheck::kBadLength;
  return PacketCheck::kOk;
}

void SetPacketStream(std::uint8_t* packet, std::uint16_t stream) { SetU16(packet + 4, stream); }

void PutPacketHeaderV0(std::uint8_t* out, std::uint16_t length, std::uint16_t stream,
                       std::uint32_t timestamp, std::uint8_t flags) {
  SetU16(out, 0);
  SetU16(out + 2, length);
  SetU16(out + 4, stream);
  SetU32(out + 6, timestamp);
  out[10] = 0;
  out[11] = flags;
}

}  // namespace rm
