// The ten bytes that open every chunk: id, size (whole chunk, header included), object version.
#pragma once

#include <cstdint>

#include "rm/byte_cursor.h"

namespace rm {

inline constexpr std::uint32_t kChunkHeaderSize = 10;

struct ChunkHeader {
  std::uint32_t id = 0;
  std::uint32_t size = 0;
  std::uint16_t version = 0;
};

inline ChunkHeader ReadChunkHeader(ByteCursor& in) {
  ChunkHeader h;
  h.id = in.U32();
  h.size = in.U32();
  h.version = in.U16();
  return h;
}

}  // namespace rm
