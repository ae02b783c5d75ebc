#include "rm/data_chunk.h"

#include "rm/chunk_header.h"
#include "rm/fourcc.h"

namespace rm {

DataHeader ParseDataHeader(ByteCursor& in) {
  DataHeader d;
  const ChunkHeader h = ReadChunkHeader(in);
  if (in.Ok() && h.id != kDataId) {
    in.Fail(ErrorCode::kBadChain, "expected DATA, found " + FourCcText(h.id));
    return d;
  }
  d.size = h.size;
  d.version = h.version;
  d.numPackets = in.U32();
  d.nextDataHeader = in.U32();
  return d;
}

Bytes SerializeDataHeader(std::uint32_t size, std::uint32_t numPackets, std::uint32_t next) {
  Bytes out;
  PutU32(out, kDataId);
  PutU32(out, size);
  PutU16(out, 0);
  PutU32(out, numPackets);
  PutU32(out, next);
  return out;
}

}  // namespace rm
