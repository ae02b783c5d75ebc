// INDX chunks: one per stream, chained, each a list of (time, packet offset, packet ordinal).
#pragma once

#include <cstdint>

#include "rm/byte_cursor.h"
#include "rm/byte_order.h"

namespace rm {

inline constexpr std::uint32_t kIndexHeaderSize = 20;
inline constexpr std::uint32_t kIndexRecordSize = 14;

struct IndexHeader {
  std::uint32_t size = 0;  // as stored; some writers leave 20 although records follow
  std::uint16_t version = 0;
  std::uint32_t numIndices = 0;
  std::uint16_t stream = 0;
  std::uint32_t nextIndexHeader = 0;  // absolute offset of the next INDX, 0 for the last

  std::uint64_t Extent() const {
    return kIndexHeaderSize + std::uint64_t{kIndexRecordSize} * numIndices;
  }
};

struct IndexRecord {
  std::uint16_t version = 0;
  std::uint32_t timestamp = 0;     // ms
  std::uint32_t offset = 0;        // absolute offset of the packet header
  std::uint32_t packetNumber = 0;  // ordinal among all packets of the data section
};

// Parses the 20 header bytes; a wrong id is recorded as kBadChain.
IndexHeader ParseIndexHeader(ByteCursor& in);
IndexRecord ParseIndexRecord(ByteCursor& in);
Bytes SerializeIndexHeader(std::uint32_t numIndices, std::uint16_t stream, std::uint32_t next);
void PutIndexRecord(Bytes& out, const IndexRecord& record);

}  // namespace rm
