// An index rebuilt from the packets, for a film whose own index was lost to a cut or does not
// match its packets: for each stream that had an index, one record per key-frame packet, never
// closer together than the original's closest records (Real's producers write one about every
// two seconds). Only the records kept are held, not one entry per packet.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "rm/headers.h"
#include "rm/indx.h"
#include "rm/packet.h"
#include "rm/source.h"

namespace rm {

inline constexpr std::uint32_t kDefaultIndexGapMs = 2000;

struct IndexSurvey {
  bool hadIndex = false;             // PROP names an index
  std::vector<bool> indexed;         // by old stream number: an INDX of this stream was read
  std::vector<std::uint32_t> gapMs;  // by old stream number: closest two records found
  // Part of the chain could not be read: any stream may have had an index there.
  bool unknownStreams = false;
};

// Reads what can be read of the input's index (it may be cut short or not make sense): which
// streams have an INDX and how close together their records lie. Never fails; a chain that stops
// making sense ends the survey there.
IndexSurvey SurveyIndex(Source& source, const Headers& headers);

class IndexRebuilder {
 public:
  explicit IndexRebuilder(IndexSurvey survey);

  // Every packet written, in output order: its old stream (for the survey), new stream number,
  // and its offset and ordinal in the output. True when it gets a record.
  bool OnPacket(std::uint16_t oldStream, std::uint16_t newStream, const PacketHeader& header,
                std::uint64_t offset, std::uint64_t ordinal);

  struct StreamIndex {
    std::uint16_t stream = 0;  // new number
    std::vector<IndexRecord> records;
  };
  // The streams to index, in new-number order: those the survey found (even without key frames
  // kept, as the empty INDX of a logical-fileinfo stream), and with `everyKeyedStream` (which
  // streams had an index is not known) every stream with key frames.
  // `left` receives the candidates of the streams not indexed after all.
  std::vector<StreamIndex> Result(const std::vector<int>& newNumber, bool everyKeyedStream,
                                  std::vector<StreamIndex>& left) const;
  const IndexSurvey& Survey() const { return survey_; }

 private:
  struct Collected {
    bool any = false;
    std::uint32_t lastTimestamp = 0;
    std::uint16_t newStream = 0;
    std::vector<IndexRecord> records;
  };
  IndexSurvey survey_;
  std::vector<Collected> byOldStream_;
};

}  // namespace rm
