#include "rm/inspect.h"

#include <algorithm>
#include <set>

#include "rm/mdpr.h"
#include "rm/walker.h"

namespace rm {

namespace {

class Inspector : public DataVisitor {
 public:
  Inspector(const Headers& headers, bool strict, FileSummary& summary, Error& error)
      : strict_(strict), summary_(summary), error_(error), slot_(headers.StreamTableSize(), -1) {
    for (const MediaProperties& m : headers.media) {
      slot_[m.streamNumber] = static_cast<int>(summary_.streams.size());
      events_.push_back(IsEventMime(m.mime));
      summary_.streams.push_back({m.streamNumber, m.mime, m.name, 0, 0});
    }
  }

  void OnDataChunk(std::uint64_t offset, const DataHeader& header) override {
    chunkOffset_ = offset;
    chunkHeader_ = header;
    ++summary_.dataChunks;
  }

  void OnPacket(const PacketView& p) override {
    const std::size_t slot = static_cast<std::size_t>(slot_[p.header.stream]);
    StreamSummary& s = summary_.streams[slot];
    const std::size_t payload = p.header.PayloadSize();
    ++s.packets;
    s.payloadBytes += payload;
    ++summary_.packets;
    totalPayload_ += payload;
    maxPayload_ = std::max<std::uint64_t>(maxPayload_, payload);
    if (events_[slot]) Collect(p);
  }

  void OnDataChunkEnd(std::uint64_t /*offset*/, std::uint64_t /*end*/, std::uint32_t packets,
                      bool /*last*/) override {
    if (strict_ && chunkHeader_.numPackets != packets) {
      error_.Set(ErrorCode::kBadField, chunkOffset_ + 10, "DATA.num_packets");
    }
  }

  void OnIndexChunk(std::uint64_t /*offset*/, const IndexHeader& /*header*/) override {
    ++summary_.indexChunks;
  }
  void OnIndexRecord(const IndexRecord& /*record*/) override { ++summary_.indexRecords; }

  std::uint64_t TotalPayload() const { return totalPayload_; }
  std::uint64_t MaxPayload() const { return maxPayload_; }

 private:
  void Collect(const PacketView& p) {
    if (!summary_.eventsComplete) return;
    FoundEvent found;
    found.stream = p.header.stream;
    found.offset = p.offset;
    found.parsed = ParseEventPayload(p.bytes.subspan(p.header.HeaderSize()), found.event);
    if (strict_ && !found.parsed) {
      error_.Set(ErrorCode::kBadPacket, p.offset, "event payload");
      return;
    }
    collectedBytes_ += found.event.text.size();
    if (summary_.events.size() == kMaxCollectedEvents ||
        collectedBytes_ > kMaxCollectedEventBytes) {
      summary_.eventsComplete = false;
      return;
    }
    summary_.events.push_back(std::move(found));
  }

  bool strict_;
  FileSummary& summary_;
  Error& error_;
  std::vector<int> slot_;     // stream number -> index in summary_.streams
  std::vector<bool> events_;  // per slot: an event stream
  std::uint64_t chunkOffset_ = 0;
  DataHeader chunkHeader_;
  std::uint64_t collectedBytes_ = 0;
  std::uint64_t totalPayload_ = 0;
  std::uint64_t maxPayload_ = 0;
};

bool Fail(Error& error, ErrorCode code, const char* what) {
  error.Set(code, 0, what);
  return false;
}

}  // namespace

bool CheckDerivedFields(const Headers& headers, const FileSummary& summary,
                        std::uint64_t totalPayload, std::uint64_t maxPayload, Error& error) {
  const Properties& p = headers.prop;
  std::set<std::uint16_t> numbers;
  std::uint64_t maxBitRate = 0, avgBitRate = 0, maxPacket = maxPayload;
  for (const MediaProperties& m : headers.media) {
    numbers.insert(m.streamNumber);
    maxPacket = std::max<std::uint64_t>(maxPacket, m.maxPacketSize);
    maxBitRate += m.maxBitRate;
    avgBitRate += m.avgBitRate;
  }
  const std::size_t n = headers.media.size();
  if (p.numStreams != n) return Fail(error, ErrorCode::kBadField, "PROP.num_streams");
  if (!numbers.empty() && *numbers.rbegin() != n - 1) {
    return Fail(error, ErrorCode::kBadStreamNumber, "stream numbers not dense");
  }
  const std::uint64_t avgPacket = summary.packets == 0 ? 0 : totalPayload / summary.packets;
  struct Check {
    std::uint64_t stored, expected;
    const char* name;
  };
  const Check checks[] = {
      {p.numPackets, summary.packets, "PROP.num_packets"},
      {p.maxPacketSize, maxPacket, "PROP.max_packet_size"},
      {p.avgPacketSize, avgPacket, "PROP.avg_packet_size"},
      {p.maxBitRate, std::min<std::uint64_t>(maxBitRate, 0xFFFFFFFFu), "PROP.max_bit_rate"},
      {p.avgBitRate, std::min<std::uint64_t>(avgBitRate, 0xFFFFFFFFu), "PROP.avg_bit_rate"},
  };
  for (const Check& c : checks) {
    if (c.stored != c.expected) return Fail(error, ErrorCode::kBadField, c.name);
  }
  return true;
}

bool Inspect(Source& source, Strictness strictness, FileSummary& summary, Error& error) {
  summary = FileSummary{};
  Headers headers;
  if (!ReadHeaders(source, headers, error)) return false;
  summary.fileSize = headers.fileSize;
  const bool strict = strictness == Strictness::kStrict;
  Inspector inspector(headers, strict, summary, error);
  if (!WalkData(source, headers, inspector, strictness, error)) return false;
  return !strict || CheckDerivedFields(headers, summary, inspector.TotalPayload(),
                                       inspector.MaxPayload(), error);
}

}  // namespace rm
