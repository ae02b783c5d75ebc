#include "rm/rmf_header.h"

#include "rm/chunk_header.h"
#include "rm/fourcc.h"

namespace rm {

RmfHeader ParseRmfHeader(ByteCursor& chunk) {
  RmfHeader rmf;
  const ChunkHeader h = ReadChunkHeader(chunk);
  if (!chunk.Ok()) return rmf;
  if (h.id != kRmfId) {
    chunk.Fail(ErrorCode::kNotRealMedia, ".RMF");
    return rmf;
  }
  // Versions 0 (FFmpeg) and 1 (RealProducer) carry the same fields; others are unknown ground.
  if (h.version > 1) {
    chunk.Fail(ErrorCode::kUnsupported, ".RMF object_version " + std::to_string(h.version));
    return rmf;
  }
  rmf.size = h.size;
  rmf.objectVersion = h.version;
  rmf.fileVersion = chunk.U32();
  rmf.numHeaders = chunk.U32();
  const auto rest = chunk.Take(chunk.Remaining());
  rmf.extra.assign(rest.begin(), rest.end());
  return rmf;
}

Bytes SerializeRmfHeader(const RmfHeader& rmf) {
  Bytes out;
  PutU32(out, kRmfId);
  PutU32(out, static_cast<std::uint32_t>(kRmfMinSize + rmf.extra.size()));
  PutU16(out, rmf.objectVersion);
  PutU32(out, rmf.fileVersion);
  PutU32(out, rmf.numHeaders);
  PutBytes(out, rmf.extra);
  return out;
}

}  // namespace rm
