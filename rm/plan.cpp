#include "rm/plan.h"

#include <algorithm>
#include <limits>

#include "rm/fourcc.h"
#include "rm/logical_stream.h"
#include "rm/mdpr.h"
#include "rm/rmf_header.h"

namespace rm {

namespace {

constexpr std::uint32_t kU32Max = std::numeric_limits<std::uint32_t>::max();

std::uint32_t Saturate(std::uint64_t v) {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(v, kU32Max));
}

// Offset of the type-specific data inside a serialized MDPR.
std::uint64_t TypeSpecificAt(const MediaProperties& m) {
  return 40 + 1 + m.name.size() + 1 + m.mime.size() + 4;
}

// Marks logical streams whose grouped streams are all gone; refuses mixed groups, whose lists
// would have to shrink.
bool DropEmptiedGroups(const Headers& headers, std::vector<StreamDecision>& decisions,
                       std::vector<LogicalStream>& logical, const std::vector<bool>& dropped,
                       Error& error) {
  for (const HeaderChunk& chunk : headers.chunks) {
    if (chunk.mediaIndex < 0) continue;
    const std::size_t i = static_cast<std::size_t>(chunk.mediaIndex);
    const MediaProperties& m = headers.media[i];
    if (!IsLogicalMime(m.mime) || decisions[i].reason != DropReason::kKept) continue;
    if (!ParseLogicalStream(m.typeSpecific, chunk.offset + TypeSpecificAt(m), logical[i], error)) {
      return false;
    }
    std::vector<std::uint16_t> refs = logical[i].physicalStreams;
    refs.insert(refs.end(), logical[i].ruleStreams.begin(), logical[i].ruleStreams.end());
    std::size_t gone = 0;
    for (std::uint16_t r : refs) {
      if (headers.FindStream(r) == nullptr) {
        error.Set(ErrorCode::kBadStreamNumber, chunk.offset,
                  "logical stream " + std::to_string(m.streamNumber) + " names stream " +
                      std::to_string(r) + " without MDPR");
        return false;
      }
      if (dropped[r]) ++gone;
    }
    if (!logical[i].physicalStreams.empty() && gone == refs.size()) {
      decisions[i].reason = DropReason::kGroupsOnlyDropped;
    } else if (gone > 0) {
      error.Set(
          ErrorCode::kUnsupported, chunk.offset,
          "logical stream " + std::to_string(m.streamNumber) + " groups removed and kept streams");
      return false;
    }
  }
  return true;
}

}  // namespace

MediaProperties EventStreamProperties(std::uint16_t number, const std::vector<Event>& events) {
  MediaProperties m;
  m.streamNumber = number;
  m.maxBitRate = kEventBitRate;
  m.avgBitRate = kEventBitRate;
  std::uint64_t total = 0;
  for (const Event& e : events) {
    const std::uint32_t payload = static_cast<std::uint32_t>(kEventPayloadHead + e.text.size());
    m.maxPacketSize = std::max(m.maxPacketSize, payload);
    total += payload;
  }
  m.avgPacketSize = events.empty() ? 0 : static_cast<std::uint32_t>(total / events.size());
  m.duration = events.empty() ? 0 : events.back().startDs * 100;
  m.mime = kEventMime;
  return m;
}

bool PlanRewrite(const Headers& headers, const std::vector<Event>& events, RewritePlan& plan,
                 Error& error, bool mayCopy) {
  plan = RewritePlan{};
  plan.newNumber.assign(headers.StreamTableSize(), -1);
  plan.carriesEvents.assign(headers.StreamTableSize(), false);
  std::vector<bool> dropped(headers.StreamTableSize(), false);
  for (const MediaProperties& m : headers.media) {
    StreamDecision d;
    d.oldNumber = m.streamNumber;
    if (IsEventMime(m.mime)) {
      d.reason = DropReason::kEventStream;
      dropped[m.streamNumber] = true;
      plan.carriesEvents[m.streamNumber] = true;
    }
    plan.streams.push_back(d);
  }
  const bool anyEventStream =
      std::any_of(plan.streams.begin(), plan.streams.end(),
                  [](const StreamDecision& d) { return d.reason != DropReason::kKept; });
  plan.identicalCopy = mayCopy && !anyEventStream && events.empty();
  if (plan.identicalCopy) return true;

  std::vector<LogicalStream> logical(headers.media.size());
  if (!DropEmptiedGroups(headers, plan.streams, logical, dropped, error)) return false;
  int kept = 0;
  for (StreamDecision& d : plan.streams) {
    if (d.reason == DropReason::kKept) {
      d.newNumber = kept++;
      plan.newNumber[d.oldNumber] = d.newNumber;
    }
  }
  if (kept == 0) {
    error.Set(ErrorCode::kNoStreamsLeft, 0, "");
    return false;
  }
  const int droppedCount = static_cast<int>(plan.streams.size()) - kept;
  if (!events.empty()) {
    plan.addedEvents = events;
    plan.addedStream = kept;
  }

  // .RMF counts header chunks: follow the change in MDPRs, but never fall below what a reader
  // that stops after num_headers chunks needs to reach DATA.
  std::int64_t written = 1;  // DATA itself
  for (const HeaderChunk& chunk : headers.chunks) {
    if (chunk.mediaIndex < 0 ||
        plan.streams[static_cast<std::size_t>(chunk.mediaIndex)].newNumber >= 0) {
      ++written;
    }
  }
  if (!events.empty()) ++written;
  RmfHeader rmf = headers.rmf;
  const std::int64_t numHeaders =
      std::int64_t{rmf.numHeaders} - droppedCount + (events.empty() ? 0 : 1);
  rmf.numHeaders =
      static_cast<std::uint32_t>(std::clamp<std::int64_t>(numHeaders, written, kU32Max));
  plan.header.push_back({SerializeRmfHeader(rmf), 0, 0});

  std::uint64_t at = plan.header.back().Size();
  std::uint64_t maxBitRate = 0, avgBitRate = 0;
  std::uint32_t maxPacket = 0;
  for (const HeaderChunk& chunk : headers.chunks) {
    HeaderPiece piece;
    if (chunk.id == kPropId) {
      plan.propOffset = at;
      piece.bytes = SerializeProperties(headers.prop);
    } else if (chunk.mediaIndex >= 0) {
      const std::size_t i = static_cast<std::size_t>(chunk.mediaIndex);
      if (plan.streams[i].newNumber < 0) continue;
      MediaProperties m = headers.media[i];
      m.streamNumber = static_cast<std::uint16_t>(plan.streams[i].newNumber);
      maxBitRate += m.maxBitRate;
      avgBitRate += m.avgBitRate;
      maxPacket = std::max(maxPacket, m.maxPacketSize);
      if (IsLogicalMime(m.mime)) {
        LogicalStream& ls = logical[i];
        for (std::uint16_t& s : ls.physicalStreams)
          s = static_cast<std::uint16_t>(plan.newNumber[s]);
        for (std::uint16_t& s : ls.ruleStreams) s = static_cast<std::uint16_t>(plan.newNumber[s]);
        StoreLogicalStream(ls, m.typeSpecific);
        for (std::size_t k = 0; k < ls.dataOffsets.size(); ++k) {
          if (ls.dataOffsets[k] == 0) continue;
          plan.dataOffsetPatches.push_back(
              {at + TypeSpecificAt(m) + ls.dataOffsetsAt + 4 * k, ls.dataOffsets[k]});
        }
      }
      piece.bytes = SerializeMediaProperties(m);
    } else {
      piece.copyOffset = chunk.offset;
      piece.copySize = chunk.size;
    }
    at += piece.Size();
    plan.header.push_back(std::move(piece));
  }
  if (!events.empty()) {
    const MediaProperties m = EventStreamProperties(static_cast<std::uint16_t>(kept), events);
    maxBitRate += m.maxBitRate;
    avgBitRate += m.avgBitRate;
    maxPacket = std::max(maxPacket, m.maxPacketSize);
    plan.header.push_back({SerializeMediaProperties(m), 0, 0});
    at += plan.header.back().Size();
  }
  // The written file must stay within what the reader accepts, or it could not be checked.
  if (plan.streams.size() - static_cast<std::size_t>(droppedCount) + (events.empty() ? 0 : 1) >
          kMaxStreams ||
      plan.header.size() - 1 > kMaxHeaderChunks) {
    error.Set(ErrorCode::kTooLarge, 0, "number of header chunks written");
    return false;
  }
  plan.newDataOffset = at;
  if (at > kU32Max) {
    error.Set(ErrorCode::kOutputTooLarge, 0, "header section");
    return false;
  }
  plan.prop = headers.prop;
  plan.prop.maxBitRate = Saturate(maxBitRate);
  plan.prop.avgBitRate = Saturate(avgBitRate);
  plan.prop.maxPacketSize = maxPacket;  // the rewriter raises it to the largest payload written
  plan.prop.numStreams = static_cast<std::uint16_t>(kept + (events.empty() ? 0 : 1));
  plan.prop.dataOffset = static_cast<std::uint32_t>(at);
  return true;
}

}  // namespace rm
