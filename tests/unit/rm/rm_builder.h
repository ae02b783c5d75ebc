// Builds RealMedia files in memory for the tests, with its own byte layout code (not the
// library's serializers), so a rewritten file can be compared byte for byte with one built
// independently from a description.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "rm/source.h"

namespace rmtest {

using Bytes = std::vector<std::uint8_t>;

struct StreamLayout {
  std::uint16_t number = 0;
  std::string mime;
  std::string name;
  Bytes typeSpecific;
  std::uint32_t maxBitRate = 0;
  std::uint32_t avgBitRate = 0;
  std::uint32_t duration = 0;
  bool indexed = false;  // gets an INDX chunk with a record for each of its packets
};

struct PacketLayout {
  std::uint16_t stream = 0;
  std::uint32_t timestamp = 0;
  Bytes payload;
  std::uint16_t version = 0;
  std::uint8_t flags = 2;
};

struct FilmLayout {
  std::vector<StreamLayout> streams;              // MDPR order
  std::vector<std::vector<PacketLayout>> chunks;  // packets of each DATA chunk
  bool withCont = true;
  Bytes extraHeaderChunk;  // a whole chunk placed after CONT, copied by readers
  Bytes tail;
  std::uint32_t numHeaders = 0;  // 0: streams + 4, as FFmpeg and RealProducer write
  std::uint32_t duration = 10000;
  std::uint16_t flags = 3;
  // Writer quirks.
  bool dataSizePlus18 = false;  // FFmpeg
  bool unknownCount = false;    // DATA.num_packets 0
  bool indexSize20 = false;     // INDX.size 20 although records follow
  bool indexUnlinked = false;   // INDX present but PROP.index_offset 0
};

Bytes Build(const FilmLayout& layout);

// Helpers for specs.
Bytes EventPayload(std::uint16_t sequence, std::uint32_t startDs, std::uint32_t endDs,
                   std::uint16_t type, const std::string& text);
PacketLayout EventPacket(std::uint16_t stream, std::uint16_t sequence, std::uint32_t startDs,
                         std::uint32_t endDs, const std::string& text);
Bytes MediaPayload(std::size_t size, std::uint8_t seed);
// logical-* type-specific data: physical streams (data offsets 0), rule map, no properties.
Bytes LogicalTypeSpecific(const std::vector<std::uint16_t>& physical,
                          const std::vector<std::uint16_t>& rules);

// A source that hands out one byte per read, as a slow pipe might.
class TrickleSource : public rm::Source {
 public:
  explicit TrickleSource(std::span<const std::uint8_t> data) : data_(data) {}
  std::uint64_t Size() const override { return data_.size(); }
  bool ReadSome(std::uint64_t offset, std::uint8_t* buffer, std::size_t size,
                std::size_t& got) override {
    got = (offset < data_.size() && size > 0) ? 1 : 0;
    if (got) *buffer = data_[static_cast<std::size_t>(offset)];
    return true;
  }

 private:
  std::span<const std::uint8_t> data_;
};

}  // namespace rmtest
