#include "rm/prop.h"

#include "rm/chunk_header.h"
#include "rm/fourcc.h"

namespace rm {

Properties ParseProperties(ByteCursor& chunk) {
  Properties p;
  const ChunkHeader h = ReadChunkHeader(chunk);
  if (!chunk.Ok()) return p;
  if (h.version != 0) {
    chunk.Fail(ErrorCode::kUnsupported, "PROP object_version " + std::to_string(h.version));
    return p;
  }
  p.maxBitRate = chunk.U32();
  p.avgBitRate = chunk.U32();
  p.maxPacketSize = chunk.U32();
  p.avgPacketSize = chunk.U32();
  p.numPackets = chunk.U32();
  p.duration = chunk.U32();
  p.preroll = chunk.U32();
  p.indexOffset = chunk.U32();
  p.dataOffset = chunk.U32();
  p.numStreams = chunk.U16();
  p.flags = chunk.U16();
  const auto rest = chunk.Take(chunk.Remaining());
  p.extra.assign(rest.begin(), rest.end());
  return p;
}

Bytes SerializeProperties(const Properties& p) {
  Bytes out;
  PutU32(out, kPropId);
  PutU32(out, static_cast<std::uint32_t>(kPropSize + p.extra.size()));
  PutU16(out, 0);
  for (std::uint32_t v : {p.maxBitRate, p.avgBitRate, p.maxPacketSize, p.avgPacketSize,
                          p.numPackets, p.duration, p.preroll, p.indexOffset, p.dataOffset}) {
    PutU32(out, v);
  }
  PutU16(out, p.numStreams);
  PutU16(out, p.flags);
  PutBytes(out, p.extra);
  return out;
}

}  // namespace rm
