#include "rm/headers.h"

#include <algorithm>
#include <set>

#include "rm/byte_order.h"
#include "rm/chunk_header.h"
#include "rm/cont.h"
#include "rm/fourcc.h"

namespace rm {

const MediaProperties* Headers::FindStream(std::uint16_t number) const {
  for (const MediaProperties& m : media) {
    if (m.streamNumber == number) return &m;
  }
  return nullptr;
}

std::size_t Headers::StreamTableSize() const {
  std::size_t size = 0;
  for (const MediaProperties& m : media) size = std::max<std::size_t>(size, m.streamNumber + 1u);
  return size;
}

namespace {

// Reads a whole chunk into memory once its size has been checked against the file.
bool LoadChunk(Source& source, std::uint64_t offset, std::uint32_t size, Bytes& bytes, Error& error,
               const std::string& name) {
  if (size > kMaxHeaderChunkSize) {
    error.Set(ErrorCode::kTooLarge, offset, name + ".size");
    return false;
  }
  bytes.resize(size);
  return ReadExact(source, offset, bytes, error, name);
}

bool ParseKnownChunk(Source& source, const HeaderChunk& chunk, Headers& headers, bool& havePropOut,
                     Error& error) {
  const std::string name = FourCcText(chunk.id);
  Bytes bytes;
  if (!LoadChunk(source, chunk.offset, chunk.size, bytes, error, name)) return false;
  ByteCursor in(bytes, chunk.offset, error, name);
  if (chunk.id == kPropId) {
    if (havePropOut) {
      error.Set(ErrorCode::kBadField, chunk.offset, "second PROP");
      return false;
    }
    havePropOut = true;
    headers.prop = ParseProperties(in);
  } else if (chunk.id == kMdprId) {
    headers.media.push_back(ParseMediaProperties(in));
  } else {
    (void)ParseContentDescription(in);
  }
  return in.Ok();
}

}  // namespace

bool ReadHeaders(Source& source, Headers& headers, Error& error) {
  headers = Headers{};
  headers.fileSize = source.Size();
  std::uint8_t head[8];
  if (headers.fileSize < sizeof head) {
    error.Set(ErrorCode::kNotRealMedia, 0, "file shorter than a chunk header");
    return false;
  }
  if (!ReadExact(source, 0, head, error, ".RMF")) return false;
  if (GetU32(head) != kRmfId) {
    error.Set(ErrorCode::kNotRealMedia, 0, "");
    return false;
  }
  const std::uint32_t rmfSize = GetU32(head + 4);
  if (rmfSize < kRmfMinSize || rmfSize > headers.fileSize) {
    error.Set(ErrorCode::kOverrun, 0, ".RMF.size");
    return false;
  }
  Bytes bytes;
  if (!LoadChunk(source, 0, rmfSize, bytes, error, ".RMF")) return false;
  ByteCursor rmfCursor(bytes, 0, error, ".RMF");
  headers.rmf = ParseRmfHeader(rmfCursor);
  if (!rmfCursor.Ok()) return false;

  bool haveProp = false;
  std::uint64_t offset = rmfSize;
  for (;;) {
    if (headers.fileSize - offset < kChunkHeaderSize) {
      error.Set(ErrorCode::kTruncated, offset, "header section without DATA");
      return false;
    }
    std::uint8_t ids[8];
    if (!ReadExact(source, offset, ids, error, "chunk header")) return false;
    HeaderChunk chunk{GetU32(ids), offset, GetU32(ids + 4), -1};
    if (chunk.id == kDataId) break;
    const std::string name = FourCcText(chunk.id);
    if (chunk.id == kIndxId) {
      error.Set(ErrorCode::kUnsupported, offset, "INDX before DATA");
      return false;
    }
    // A size below the header would make this loop stand still.
    if (chunk.size < kChunkHeaderSize) {
      error.Set(ErrorCode::kBadField, offset, name + ".size");
      return false;
    }
    if (chunk.size > headers.fileSize - offset) {
      error.Set(ErrorCode::kOverrun, offset, name + ".size");
      return false;
    }
    if (headers.chunks.size() == kMaxHeaderChunks) {
      error.Set(ErrorCode::kTooLarge, offset, "number of header chunks");
      return false;
    }
    if (chunk.id == kMdprId) {
      if (headers.media.size() == kMaxStreams) {
        error.Set(ErrorCode::kTooLarge, offset, "number of MDPR chunks");
        return false;
      }
      chunk.mediaIndex = static_cast<int>(headers.media.size());
    }
    if (chunk.id == kPropId || chunk.id == kMdprId || chunk.id == kContId) {
      if (!ParseKnownChunk(source, chunk, headers, haveProp, error)) return false;
    }
    headers.chunks.push_back(chunk);
    offset += chunk.size;
  }
  headers.firstDataOffset = offset;
  if (!haveProp) {
    error.Set(ErrorCode::kMissingChunk, offset, "PROP");
    return false;
  }
  std::set<std::uint16_t> seen;
  for (std::size_t i = 0; i < headers.chunks.size(); ++i) {
    const HeaderChunk& c = headers.chunks[i];
    if (c.mediaIndex < 0) continue;
    const std::uint16_t number = headers.media[static_cast<std::size_t>(c.mediaIndex)].streamNumber;
    if (!seen.insert(number).second) {
      error.Set(ErrorCode::kBadStreamNumber, c.offset,
                "stream " + std::to_string(number) + " twice");
      return false;
    }
  }
  return true;
}

}  // namespace rm
