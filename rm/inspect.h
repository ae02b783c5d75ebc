// Reading a whole file for what it holds: per-stream packet counts, the events of its event
// streams, and (in strict mode) every derived field checked against what the data says. This is
// how a written file is validated before it replaces anything, and what -d dumps from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rm/error.h"
#include "rm/event.h"
#include "rm/headers.h"
#include "rm/index_chain.h"
#include "rm/source.h"

namespace rm {

// Collected events are capped; a file beyond this is refused for dumping.
inline constexpr std::size_t kMaxCollectedEvents = std::size_t{1} << 20;
inline constexpr std::size_t kMaxCollectedEventBytes = std::size_t{16} << 20;

struct StreamSummary {
  std::uint16_t number = 0;
  std::string mime;
  std::string name;
  std::uint64_t packets = 0;
  std::uint64_t payloadBytes = 0;
};

struct FoundEvent {
  std::uint16_t stream = 0;
  std::uint64_t offset = 0;  // of the packet
  bool parsed = false;       // false: not a readable event payload (e.g. encrypted)
  Event event;
};

struct FileSummary {
  std::uint64_t fileSize = 0;
  std::vector<StreamSummary> streams;  // MDPR order
  std::uint64_t packets = 0;
  std::uint64_t dataChunks = 0;
  std::uint64_t indexChunks = 0;
  std::uint64_t indexRecords = 0;
  std::vector<FoundEvent> events;  // packets of event streams, in file order
  bool eventsComplete = true;      // false when the cap cut the list short
};

// What a file of ours must satisfy beyond its structure: dense stream numbers and PROP fields
// that agree with the MDPRs and the packets summed up in `summary`.
[[nodiscard]] bool CheckDerivedFields(const Headers& headers, const FileSummary& summary,
                                      std::uint64_t totalPayload, std::uint64_t maxPayload,
                                      Error& error);

[[nodiscard]] bool Inspect(Source& source, Strictness strictness, FileSummary& summary,
                           Error& error);

}  // namespace rm
