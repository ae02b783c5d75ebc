#include "rm/mdpr.h"

#include <array>

#include "rm/chunk_header.h"
#include "rm/fourcc.h"

namespace rm {

namespace {

constexpr std::string_view kLogicalPrefix = "logical-";

std::string_view WithoutLogicalPrefix(std::string_view mime) {
  if (mime.substr(0, kLogicalPrefix.size()) == kLogicalPrefix)
    mime.remove_prefix(kLogicalPrefix.size());
  return mime;
}

std::string_view WithoutEncryptedSuffix(std::string_view mime) {
  constexpr std::string_view kEncrypted = "-encrypted";
  if (mime.size() > kEncrypted.size() &&
      mime.substr(mime.size() - kEncrypted.size()) == kEncrypted) {
    mime.remove_suffix(kEncrypted.size());
  }
  return mime;
}

std::string ReadSizedText(ByteCursor& in, std::size_t size) {
  const auto bytes = in.Take(size);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

MediaProperties ParseMediaProperties(ByteCursor& chunk) {
  MediaProperties m;
  const ChunkHeader h = ReadChunkHeader(chunk);
  if (!chunk.Ok()) return m;
  if (h.version != 0) {
    chunk.Fail(ErrorCode::kUnsupported, "MDPR object_version " + std::to_string(h.version));
    return m;
  }
  m.streamNumber = chunk.U16();
  m.maxBitRate = chunk.U32();
  m.avgBitRate = chunk.U32();
  m.maxPacketSize = chunk.U32();
  m.avgPacketSize = chunk.U32();
  m.startTime = chunk.U32();
  m.preroll = chunk.U32();
  m.duration = chunk.U32();
  m.name = ReadSizedText(chunk, chunk.U8());
  m.mime = ReadSizedText(chunk, chunk.U8());
  const std::uint32_t typeSpecificSize = chunk.U32();
  if (typeSpecificSize > chunk.Remaining()) {
    chunk.Fail(ErrorCode::kOverrun, "MDPR type_specific_len");
    return m;
  }
  const auto ts = chunk.Take(typeSpecificSize);
  m.typeSpecific.assign(ts.begin(), ts.end());
  const auto rest = chunk.Take(chunk.Remaining());
  m.extra.assign(rest.begin(), rest.end());
  return m;
}

Bytes SerializeMediaProperties(const MediaProperties& m) {
  Bytes out;
  const std::size_t size =
      46 + m.name.size() + m.mime.size() + m.typeSpecific.size() + m.extra.size();
  PutU32(out, kMdprId);
  PutU32(out, static_cast<std::uint32_t>(size));
  PutU16(out, 0);
  PutU16(out, m.streamNumber);
  for (std::uint32_t v : {m.maxBitRate, m.avgBitRate, m.maxPacketSize, m.avgPacketSize, m.startTime,
                          m.preroll, m.duration}) {
    PutU32(out, v);
  }
  PutU8(out, static_cast<std::uint8_t>(m.name.size()));
  PutText(out, m.name);
  PutU8(out, static_cast<std::uint8_t>(m.mime.size()));
  PutText(out, m.mime);
  PutU32(out, static_cast<std::uint32_t>(m.typeSpecific.size()));
  PutBytes(out, m.typeSpecific);
  PutBytes(out, m.extra);
  return out;
}

bool IsEventMime(std::string_view mime) {
  const std::string_view core = WithoutEncryptedSuffix(WithoutLogicalPrefix(mime));
  return core == "application/x-pn-realevent" || core == "application/x-pn-multirate-realevent";
}

bool IsImageMapMime(std::string_view mime) {
  const std::string_view core = WithoutEncryptedSuffix(WithoutLogicalPrefix(mime));
  static constexpr std::array<std::string_view, 3> kImageMaps = {
      "application/x-pn-imagemap", "image_map/x-pn-realvideo",
      "application/x-pn-multirate-imagemap"};
  for (std::string_view m : kImageMaps) {
    if (core == m) return true;
  }
  return false;
}

bool IsLogicalMime(std::string_view mime) {
  return mime.substr(0, kLogicalPrefix.size()) == kLogicalPrefix;
}

}  // namespace rm
