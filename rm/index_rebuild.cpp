#include "rm/index_rebuild.h"

#include <algorithm>

#include "rm/byte_cursor.h"
#include "rm/byte_order.h"
#include "rm/fourcc.h"
#include "rm/index_chain.h"

namespace rm {

namespace {

// Closest two consecutive records of one INDX chunk, reading only records inside the file.
std::uint32_t ClosestRecords(Source& source, std::uint64_t at, std::uint32_t count,
                             std::uint32_t gap) {
  const std::uint64_t fit = (source.Size() - at) / kIndexRecordSize;
  count = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, fit));
  constexpr std::uint32_t kWindow = 256;
  std::uint8_t window[kWindow * kIndexRecordSize];
  bool havePrevious = false;
  std::uint32_t previous = 0;
  for (std::uint32_t done = 0; done < count;) {
    const std::uint32_t n = std::min(kWindow, count - done);
    Error ignored;
    if (!ReadExact(source, at + std::uint64_t{done} * kIndexRecordSize,
                   std::span(window, n * kIndexRecordSize), ignored, "INDX records")) {
      break;
    }
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint32_t ts = GetU32(window + i * kIndexRecordSize + 2);
      if (havePrevious && ts >= previous) gap = std::min(gap, ts - previous);
      havePrevious = true;
      previous = ts;
    }
    done += n;
  }
  return gap;
}

}  // namespace

IndexSurvey SurveyIndex(Source& source, const Headers& headers) {
  IndexSurvey survey;
  const std::size_t streams = headers.StreamTableSize();
  survey.indexed.assign(streams, false);
  survey.gapMs.assign(streams, kDefaultIndexGapMs);
  std::vector<std::uint32_t> closest(streams, 0xFFFFFFFFu);
  survey.hadIndex = headers.prop.indexOffset != 0;
  std::uint64_t offset = headers.prop.indexOffset;
  for (std::size_t chunks = 0; offset != 0; ++chunks) {
    std::uint8_t bytes[kIndexHeaderSize];
    Error error;
    if (chunks == kMaxIndexChunks || offset > source.Size() ||
        source.Size() - offset < kIndexHeaderSize ||
        !ReadExact(source, offset, bytes, error, "INDX")) {
      survey.unknownStreams = true;
      break;
    }
    ByteCursor in(bytes, offset, error, "INDX");
    const IndexHeader h = ParseIndexHeader(in);
    if (!in.Ok() || h.stream >= streams || headers.FindStream(h.stream) == nullptr) {
      survey.unknownStreams = true;
      break;
    }
    survey.indexed[h.stream] = true;
    closest[h.stream] =
        ClosestRecords(source, offset + kIndexHeaderSize, h.numIndices, closest[h.stream]);
    if (h.nextIndexHeader != 0 && h.nextIndexHeader <= offset) {
      survey.unknownStreams = true;  // a loop or a link backwards
      break;
    }
    offset = h.nextIndexHeader;
  }
  for (std::size_t s = 0; s < streams; ++s) {
    if (closest[s] != 0xFFFFFFFFu) survey.gapMs[s] = closest[s];
  }
  return survey;
}

IndexRebuilder::IndexRebuilder(IndexSurvey survey)
    : survey_(std::move(survey)), byOldStream_(survey_.indexed.size()) {}

bool IndexRebuilder::OnPacket(std::uint16_t oldStream, std::uint16_t newStream,
                              const PacketHeader& header, std::uint64_t offset,
                              std::uint64_t ordinal) {
  if ((header.flags & kKeyframeFlag) == 0 || oldStream >= byOldStream_.size()) return false;
  // Which streams had an index may only be known at the end: candidates are kept for all of
  // them when the survey could not tell.
  const bool unknown = survey_.unknownStreams || !survey_.hadIndex;
  if (!survey_.indexed[oldStream] && !unknown) return false;
  Collected& c = byOldStream_[oldStream];
  if (c.any && (header.timestamp < c.lastTimestamp ||
                header.timestamp - c.lastTimestamp < survey_.gapMs[oldStream])) {
    return false;
  }
  // Offsets and ordinals past 32 bits are refused by the writer before the index is written.
  c.records.push_back({0, header.timestamp, static_cast<std::uint32_t>(offset),
                       static_cast<std::uint32_t>(ordinal)});
  c.any = true;
  c.lastTimestamp = header.timestamp;
  c.newStream = newStream;
  return true;
}

std::vector<IndexRebuilder::StreamIndex> IndexRebuilder::Result(
    const std::vector<int>& newNumber, bool everyKeyedStream,
    std::vector<StreamIndex>& left) const {
  std::vector<StreamIndex> out;
  for (std::size_t old = 0; old < byOldStream_.size(); ++old) {
    if (newNumber[old] < 0) continue;
    const Collected& c = byOldStream_[old];
    if (!survey_.indexed[old] && !(everyKeyedStream && c.any)) {
      if (c.any) left.push_back({static_cast<std::uint16_t>(newNumber[old]), c.records});
      continue;
    }
    out.push_back({static_cast<std::uint16_t>(newNumber[old]), c.records});
  }
  std::sort(out.begin(), out.end(),
            [](const StreamIndex& a, const StreamIndex& b) { return a.stream < b.stream; });
  return out;
}

}  // namespace rm
