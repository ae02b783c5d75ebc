#include "rm/indx.h"

#include "rm/chunk_header.h"
#include "rm/fourcc.h"

namespace rm {

IndexHeader ParseIndexHeader(ByteCursor& in) {
  IndexHeader x;
  const ChunkHeader h = ReadChunkHeader(in);
  if (in.Ok() && h.id != kIndxId) {
    in.Fail(ErrorCode::kBadChain, "expected INDX, found " + FourCcText(h.id));
    return x;
  }
  x.size = h.size;
  x.version = h.version;
  x.numIndices = in.U32();
  x.stream = in.U16();
  x.nextIndexHeader = in.U32();
  return x;
}

IndexRecord ParseIndexRecord(ByteCursor& in) {
  IndexRecord r;
  r.version = in.U16();
  r.timestamp = in.U32();
  r.offset = in.U32();
  r.packetNumber = in.U32();
  return r;
}

Bytes SerializeIndexHeader(std::uint32_t numIndices, std::uint16_t stream, std::uint32_t next) {
  Bytes out;
  PutU32(out, kIndxId);
  PutU32(out, kIndexHeaderSize + kIndexRecordSize * numIndices);
  PutU16(out, 0);
  PutU32(out, numIndices);
  PutU16(out, stream);
  PutU32(out, next);
  return out;
}

void PutIndexRecord(Bytes& out, const IndexRecord& r) {
  PutU16(out, r.version);
  PutU32(out, r.timestamp);
  PutU32(out, r.offset);
  PutU32(out, r.packetNumber);
}

}  // namespace rm
