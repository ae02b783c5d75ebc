// Deciding what a rewrite does before any byte is written: which streams go (event streams, and
// logical streams that only grouped them), how the rest are renumbered (densely, in their old
// order), and the new header section with placeholders for what only the data pass can tell.
#pragma once

#include <cstdint>
#include <vector>

#include "rm/byte_order.h"
#include "rm/error.h"
#include "rm/event.h"
#include "rm/headers.h"
#include "rm/prop.h"

namespace rm {

inline constexpr std::uint32_t kEventBitRate = 200;
inline constexpr const char* kEventMime = "application/x-pn-realevent";

enum class DropReason { kKept, kEventStream, kGroupsOnlyDropped };

struct StreamDecision {
  std::uint16_t oldNumber = 0;
  int newNumber = -1;  // -1: dropped
  DropReason reason = DropReason::kKept;
};

// One piece of the new header section: own bytes, or a chunk copied unchanged from the input.
struct HeaderPiece {
  Bytes bytes;
  std::uint64_t copyOffset = 0;
  std::uint64_t copySize = 0;

  std::uint64_t Size() const { return bytes.empty() ? copySize : bytes.size(); }
};

// A logical stream's data_offsets[] entry that named an old DATA chunk; it moves with the chunk.
struct DataOffsetPatch {
  std::uint64_t fieldOffset = 0;  // in the output
  std::uint32_t oldDataOffset = 0;
};

struct RewritePlan {
  // Nothing to remove and nothing to add: the output is a byte-for-byte copy.
  bool identicalCopy = false;
  std::vector<StreamDecision> streams;  // one per MDPR, in file order
  // Indexed by old stream number (Headers::StreamTableSize() entries).
  std::vector<int> newNumber;  // -1 for dropped streams
  std::vector<bool> carriesEvents;
  std::vector<Event> addedEvents;
  int addedStream = -1;  // number of the added event stream, -1 when nothing is added
  std::vector<HeaderPiece> header;
  std::uint64_t newDataOffset = 0;  // size of the new header section
  std::uint64_t propOffset = 0;     // where PROP lands in the output
  // Kept fields, bit rates, and max_packet_size as the largest the MDPRs declare; the rewriter
  // fills in the packet-derived fields.
  Properties prop;
  std::vector<DataOffsetPatch> dataOffsetPatches;
};

// `mayCopy` false plans a rewrite even when there is nothing to remove or add.
[[nodiscard]] bool PlanRewrite(const Headers& headers, const std::vector<Event>& events,
                               RewritePlan& plan, Error& error, bool mayCopy = true);

// The MDPR written for added events, mirroring what RealProducer writes.
MediaProperties EventStreamProperties(std::uint16_t number, const std::vector<Event>& events);

}  // namespace rm
