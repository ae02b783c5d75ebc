#include "rm_builder.h"

#include <algorithm>
#include <map>

namespace rmtest {

namespace {

void U8(Bytes& b, std::uint32_t v) { b.push_back(static_cast<std::uint8_t>(v)); }
void U16(Bytes& b, std::uint32_t v) {
  U8(b, v >> 8);
  U8(b, v);
}
void U32(Bytes& b, std::uint32_t v) {
  U16(b, v >> 16);
  U16(b, v & 0xFFFF);
}
void Text(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }
void Id(Bytes& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(id[i]));
}
void Put32At(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

std::size_t HeaderSize(const PacketLayout& p) { return p.version == 0 ? 12 : 13; }

}  // namespace

Bytes EventPayload(std::uint16_t sequence, std::uint32_t startDs, std::uint32_t endDs,
                   std::uint16_t type, const std::string& text) {
  Bytes b;
  U16(b, sequence);
  U32(b, startDs);
  U32(b, endDs);
  U16(b, static_cast<std::uint32_t>(text.size() + 2));
  U16(b, type);
  Text(b, text);
  return b;
}

PacketLayout EventPacket(std::uint16_t stream, std::uint16_t sequence, std::uint32_t startDs,
                         std::uint32_t endDs, const std::string& text) {
  return {stream, startDs * 100, EventPayload(sequence, startDs, endDs, 0x20, text), 0, 2};
}

Bytes MediaPayload(std::size_t size, std::uint8_t seed) {
  Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(seed * 31 + i * 7);
  return b;
}

Bytes LogicalTypeSpecific(const std::vector<std::uint16_t>& physical,
                          const std::vector<std::uint16_t>& rules) {
  Bytes b;
  U32(b, static_cast<std::uint32_t>(12 + 6 * physical.size() + 2 * rules.size()));
  U16(b, 0);
  U16(b, static_cast<std::uint32_t>(physical.size()));
  for (std::uint16_t s : physical) U16(b, s);
  for (std::size_t i = 0; i < physical.size(); ++i) U32(b, 0);
  U16(b, static_cast<std::uint32_t>(rules.size()));
  for (std::uint16_t s : rules) U16(b, s);
  U16(b, 0);  // no properties
  return b;
}

Bytes Build(const FilmLayout& layout) {
  // Per-stream packet statistics, and the whole-file ones PROP carries.
  std::map<std::uint16_t, std::pair<std::uint32_t, std::uint64_t>> maxAndTotal;
  std::map<std::uint16_t, std::uint32_t> counts;
  std::uint32_t numPackets = 0, maxPayload = 0;
  std::uint64_t totalPayload = 0;
  for (const auto& chunk : layout.chunks) {
    for (const PacketLayout& p : chunk) {
      const auto payload = static_cast<std::uint32_t>(p.payload.size());
      auto& [mx, total] = maxAndTotal[p.stream];
      mx = std::max(mx, payload);
      total += payload;
      ++counts[p.stream];
      ++numPackets;
      maxPayload = std::max(maxPayload, payload);
      totalPayload += payload;
    }
  }
  Bytes out;
  Id(out, ".RMF");
  U32(out, 18);
  U16(out, 0);
  U32(out, 0);
  U32(out, layout.numHeaders ? layout.numHeaders
                             : static_cast<std::uint32_t>(layout.streams.size() + 4));

  const std::size_t propAt = out.size();
  std::uint32_t maxBitRate = 0, avgBitRate = 0;
  for (const StreamLayout& s : layout.streams) {
    maxBitRate += s.maxBitRate;
    avgBitRate += s.avgBitRate;
  }
  Id(out, "PROP");
  U32(out, 50);
  U16(out, 0);
  U32(out, maxBitRate);
  U32(out, avgBitRate);
  U32(out, maxPayload);
  U32(out, numPackets ? static_cast<std::uint32_t>(totalPayload / numPackets) : 0);
  U32(out, numPackets);
  U32(out, layout.duration);
  U32(out, 0);  // preroll
  U32(out, 0);  // index offset, patched below
  U32(out, 0);  // data offset, patched below
  U16(out, static_cast<std::uint32_t>(layout.streams.size()));
  U16(out, layout.flags);

  if (layout.withCont) {
    Id(out, "CONT");
    U32(out, 10 + 2 + 5 + 2 + 6 + 2 + 0 + 2 + 1);
    U16(out, 0);
    U16(out, 5);
    Text(out, "Title");
    U16(out, 6);
    Text(out, "Author");
    U16(out, 0);
    U16(out, 1);
    Text(out, "!");
  }
  out.insert(out.end(), layout.extraHeaderChunk.begin(), layout.extraHeaderChunk.end());
  for (const StreamLayout& s : layout.streams) {
    const auto [mx, total] = maxAndTotal[s.number];
    const std::uint32_t n = counts[s.number];
    Id(out, "MDPR");
    U32(out,
        static_cast<std::uint32_t>(46 + s.name.size() + s.mime.size() + s.typeSpecific.size()));
    U16(out, 0);
    U16(out, s.number);
    U32(out, s.maxBitRate);
    U32(out, s.avgBitRate);
    U32(out, mx);
    U32(out, n ? static_cast<std::uint32_t>(total / n) : 0);
    U32(out, 0);
    U32(out, 0);
    U32(out, s.duration);
    U8(out, static_cast<std::uint32_t>(s.name.size()));
    Text(out, s.name);
    U8(out, static_cast<std::uint32_t>(s.mime.size()));
    Text(out, s.mime);
    U32(out, static_cast<std::uint32_t>(s.typeSpecific.size()));
    out.insert(out.end(), s.typeSpecific.begin(), s.typeSpecific.end());
  }
  Put32At(out, propAt + 42, static_cast<std::uint32_t>(out.size()));

  // Where each packet lands, for the index.
  struct Placed {
    std::uint32_t timestamp, offset, ordinal;
  };
  std::map<std::uint16_t, std::vector<Placed>> placed;
  std::uint32_t ordinal = 0;
  for (std::size_t c = 0; c < layout.chunks.size(); ++c) {
    const std::size_t at = out.size();
    Id(out, "DATA");
    U32(out, 0);
    U16(out, 0);
    U32(out, layout.unknownCount ? 0 : static_cast<std::uint32_t>(layout.chunks[c].size()));
    U32(out, 0);
    for (const PacketLayout& p : layout.chunks[c]) {
      placed[p.stream].push_back({p.timestamp, static_cast<std::uint32_t>(out.size()), ordinal++});
      U16(out, p.version);
      U16(out, static_cast<std::uint32_t>(HeaderSize(p) + p.payload.size()));
      U16(out, p.stream);
      U32(out, p.timestamp);
      if (p.version == 0) {
        U8(out, 0);
        U8(out, p.flags);
      } else {
        U16(out, 0);
        U8(out, p.flags);
      }
      out.insert(out.end(), p.payload.begin(), p.payload.end());
    }
    Put32At(out, at + 4,
            static_cast<std::uint32_t>(out.size() - at + (layout.dataSizePlus18 ? 18 : 0)));
    if (c + 1 < layout.chunks.size()) Put32At(out, at + 14, static_cast<std::uint32_t>(out.size()));
  }

  std::size_t lastIndexAt = 0;
  for (const StreamLayout& s : layout.streams) {
    if (!s.indexed) continue;
    const std::size_t at = out.size();
    if (lastIndexAt != 0) {
      Put32At(out, lastIndexAt + 16, static_cast<std::uint32_t>(at));
    } else if (!layout.indexUnlinked) {
      Put32At(out, propAt + 38, static_cast<std::uint32_t>(at));
    }
    lastIndexAt = at;
    const auto& records = placed[s.number];
    Id(out, "INDX");
    U32(out, layout.indexSize20 ? 20 : static_cast<std::uint32_t>(20 + 14 * records.size()));
    U16(out, 0);
    U32(out, static_cast<std::uint32_t>(records.size()));
    U16(out, s.number);
    U32(out, 0);
    for (const Placed& r : records) {
      U16(out, 0);
      U32(out, r.timestamp);
      U32(out, r.offset);
      U32(out, r.ordinal);
    }
  }
  out.insert(out.end(), layout.tail.begin(), layout.tail.end());
  return out;
}

}  // namespace rmtest
