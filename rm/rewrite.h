// The streaming writer: carries out a RewritePlan in one forward pass over the input. Kept packets
// are copied in large runs straight from the read buffer (only their stream number is patched),
// added event packets are slotted in by time, INDX records are remapped through OffsetShifts, and
// the counts that only the data pass can tell are patched into the headers at the end.
#pragma once

#include <cstdint>
#include <vector>

#include "rm/error.h"
#include "rm/event.h"
#include "rm/headers.h"
#include "rm/inspect.h"
#include "rm/plan.h"
#include "rm/source.h"
#include "rm/walker.h"

namespace rm {

// The report lists at most this many removed events; the count is always exact.
inline constexpr std::size_t kMaxListedEvents = 10000;

struct RemovedEvent {
  std::uint16_t stream = 0;     // old stream number
  std::uint32_t timestamp = 0;  // packet time, ms
  bool parsed = false;          // false: the payload was not a readable event (e.g. encrypted)
  Event event;
};

struct StreamTally {
  std::uint64_t packets = 0;
  std::uint64_t payloadBytes = 0;
};

struct RewriteResult {
  std::vector<RemovedEvent> removedEvents;  // the first kMaxListedEvents, in file order
  std::uint64_t removedEventCount = 0;      // packets removed from event streams
  std::uint64_t removedPackets = 0;         // packets removed from all dropped streams
  std::vector<StreamTally> written;         // indexed by new stream number
  std::uint64_t packetsWritten = 0;
  std::uint64_t indexChunksWritten = 0;
  std::uint64_t bytesWritten = 0;
  WalkRepair repair;  // a film cut short, or an index rebuilt
  // The check made on the bytes as they were written (the file is not read back): its verdict,
  // and what the written file holds.
  bool checked = false;
  Error checkError;
  FileSummary produced;
};

[[nodiscard]] bool Rewrite(Source& in, const Headers& headers, const RewritePlan& plan, Sink& out,
                           RewriteResult& result, Error& error);

// Copies `in` to `out` byte for byte, in large blocks.
[[nodiscard]] bool CopyWhole(Source& in, Sink& out, Error& error);

}  // namespace rm
