// Walks everything after the header section in one forward pass: the DATA chain packet by
// packet, the INDX chain record by record, then the tail. A visitor sees each piece; the rewriter,
// the validator and the event collector are visitors. Sizes and links are checked as they are met,
// and index records are matched against the packets they name.
#pragma once

#include <cstdint>
#include <span>

#include "rm/data_chunk.h"
#include "rm/error.h"
#include "rm/headers.h"
#include "rm/index_chain.h"
#include "rm/indx.h"
#include "rm/packet.h"
#include "rm/source.h"

namespace rm {

struct PacketView {
  std::uint64_t offset = 0;   // absolute offset of the packet header
  std::uint64_t ordinal = 0;  // among all packets of the data section
  PacketHeader header;
  std::span<std::uint8_t> bytes;   // the whole packet, inside the reader's buffer (mutable)
  std::uint32_t indexRecords = 0;  // input index records that name this packet
};

// A walk that may repair: a film cut short (an interrupted download) is walked up to its last
// complete packet, and an index that does not match the packets is replaced rather than refused.
// Damage anywhere but at the very end of the file is still refused.
struct WalkRepair {
  bool cut = false;
  std::uint64_t cutAt = 0;        // where the bytes stop: the size of the input
  std::uint64_t keptPackets = 0;  // complete packets before the cut
  // The input's index was lost to the cut or does not match the packets: the visitor was told
  // to write one of its own (OnIndexRebuild) instead of seeing the input's records.
  bool indexRebuilt = false;
};

// Visitors stop the walk by recording an error in the Error passed to WalkData.
class DataVisitor {
 public:
  virtual ~DataVisitor() = default;
  virtual void OnDataChunk(std::uint64_t /*offset*/, const DataHeader& /*header*/) {}
  virtual void OnPacket(const PacketView& /*packet*/) {}
  // `last`: the chunk's next_data_header is 0.
  virtual void OnDataChunkEnd(std::uint64_t /*offset*/, std::uint64_t /*end*/,
                              std::uint32_t /*packets*/, bool /*last*/) {}
  virtual void OnIndexChunk(std::uint64_t /*offset*/, const IndexHeader& /*header*/) {}
  virtual void OnIndexRecord(const IndexRecord& /*record*/) {}
  // Instead of OnIndexChunk/OnIndexRecord, when a repairing walk found the index unusable.
  virtual void OnIndexRebuild() {}
  // After the INDX chain (or right after the data when there is none), before the tail.
  virtual void OnIndexEnd(std::uint64_t /*end*/) {}
  virtual bool WantsTail() const { return false; }
  virtual void OnTail(std::span<const std::uint8_t> /*bytes*/) {}
  // The reader is about to move its buffered bytes: packet spans handed out so far become invalid.
  virtual void BeforeRefill() {}
};

// `repair` (tolerant walks only) allows the repairs described above and tells which were made.
[[nodiscard]] bool WalkData(Source& source, const Headers& headers, DataVisitor& visitor,
                            Strictness strictness, Error& error, WalkRepair* repair = nullptr);

}  // namespace rm
