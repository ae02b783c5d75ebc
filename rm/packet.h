// Media packet headers inside DATA chunks: version 0 (12 bytes) and version 1 (13 bytes). Packets
// are copied byte for byte; only the stream number is ever rewritten.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rm {

inline constexpr std::size_t kPacketHeaderV0 = 12;
inline constexpr std::size_t kPacketHeaderV1 = 13;
inline constexpr std::uint8_t kKeyframeFlag = 0x02;

struct PacketHeader {
  std::uint16_t version = 0;
  std::uint16_t length = 0;  // whole packet, header included
  std::uint16_t stream = 0;
  std::uint32_t timestamp = 0;  // ms
  std::uint8_t flags = 0;       // v0: flags byte; v1: asm_flags

  std::size_t HeaderSize() const { return version == 0 ? kPacketHeaderV0 : kPacketHeaderV1; }
  std::size_t PayloadSize() const { return length - HeaderSize(); }
};

enum class PacketCheck {
  kOk,
  kNeedMore,    // fewer bytes than the header needs
  kBadVersion,  // neither 0 nor 1
  kBadLength,   // shorter than its own header
};

// Reads a header from the start of `bytes`.
PacketCheck ParsePacketHeader(std::span<const std::uint8_t> bytes, PacketHeader& out);
// Rewrites the stream number of the packet that starts at `packet`.
void SetPacketStream(std::uint8_t* packet, std::uint16_t stream);
// A version 0 header (packet_group 0) in front of a payload of `payloadSize` bytes.
void PutPacketHeaderV0(std::uint8_t* out, std::uint16_t length, std::uint16_t stream,
                       std::uint32_t timestamp, std::uint8_t flags);

}  // namespace rm
