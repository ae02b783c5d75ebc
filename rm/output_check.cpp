#include "rm/output_check.h"

#include <algorithm>

#include "rm/chunk_header.h"
#include "rm/data_chunk.h"
#include "rm/event.h"
#include "rm/fourcc.h"
#include "rm/indx.h"
#include "rm/mdpr.h"
#include "rm/packet.h"

namespace rm {

namespace {

std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// One index record's identity. Records are summed, so the order of the chunks does not matter
// and no table of packets is needed: the records written must sum to the packets announced.
std::uint64_t RecordHash(std::uint64_t offset, std::uint64_t ordinal, std::uint16_t stream) {
  return Mix(offset ^ Mix(ordinal ^ Mix(stream)));
}

}  // namespace

bool OutputCheck::Fail(std::uint64_t offset, std::string what) {
  if (ok_) error_.Set(ErrorCode::kVerifyFailed, offset, std::move(what));
  ok_ = false;
  return false;
}

bool OutputCheck::Collect(std::span<const std::uint8_t>& in, std::size_t size) {
  const std::size_t n = std::min(in.size(), size - pending_.size());
  pending_.insert(pending_.end(), in.begin(), in.begin() + static_cast<std::ptrdiff_t>(n));
  in = in.subspan(n);
  pos_ += n;
  return pending_.size() == size;
}

void OutputCheck::Append(std::span<const std::uint8_t> in, bool payloadSeen) {
  payloadSeen_ = payloadSeen;
  while (!in.empty() && ok_) {
    switch (phase_) {
      case Phase::kHeader:
        TakeHeaderBytes(in);
        break;
      case Phase::kDataHeader: {
        if (!Collect(in, kDataHeaderSize)) break;
        const std::uint64_t at = pos_ - kDataHeaderSize;
        if (GetU32(pending_.data()) != kDataId || GetU16(pending_.data() + 8) != 0) {
          Fail(at, "DATA header");
          break;
        }
        data_.push_back({at, pending_});
        const std::uint32_t size = GetU32(pending_.data() + 4);
        chunkEnd_ = size == 0 ? 0 : at + size;
        chunkPackets_ = 0;
        pending_.clear();
        phase_ = Phase::kPackets;
        break;
      }
      case Phase::kPackets:
        if (payloadLeft_ > 0) {
          const std::size_t n =
              static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), payloadLeft_));
          const auto bytes = in.first(n);
          if (payloadSeen) {
            written_.Add(bytes);
            if (events_[packetStream_]) {
              eventPayload_.insert(eventPayload_.end(), bytes.begin(), bytes.end());
            }
          } else if (events_[packetStream_]) {
            Fail(pos_, "event packet copied unseen");
            break;
          }
          in = in.subspan(n);
          pos_ += n;
          payloadLeft_ -= n;
          if (payloadLeft_ == 0) EndPacket();
          break;
        }
        if (chunkEnd_ != 0 && pos_ == chunkEnd_ && pending_.empty()) {
          EndDataChunk();
          break;
        }
        if (pending_.empty()) packetStart_ = pos_;
        if (!Collect(in, 2)) break;
        if (GetU16(pending_.data()) > 1) {
          Fail(packetStart_, "packet version");
          break;
        }
        if (Collect(in, GetU16(pending_.data()) == 0 ? kPacketHeaderV0 : kPacketHeaderV1)) {
          StartPacket();
        }
        break;
      case Phase::kBetweenData:
        Follow(data_.back(), 14, Phase::kDataHeader, Phase::kAfterData, "DATA.next_data_header");
        break;
      case Phase::kAfterData:
        // Our writer never starts a tail with "INDX" when no index precedes it.
        if (in.size() + pending_.size() < 4 && pending_.empty()) {
          phase_ = Phase::kTail;
          break;
        }
        if (!Collect(in, 4)) break;
        phase_ = GetU32(pending_.data()) == kIndxId ? Phase::kIndexHeader : Phase::kTail;
        if (phase_ == Phase::kTail) pending_.clear();
        break;
      case Phase::kIndexHeader: {
        if (!Collect(in, kIndexHeaderSize)) break;
        const std::uint64_t at = pos_ - kIndexHeaderSize;
        const std::uint32_t count = GetU32(pending_.data() + 10);
        const std::uint16_t stream = GetU16(pending_.data() + 14);
        if (GetU32(pending_.data()) != kIndxId || GetU16(pending_.data() + 8) != 0 ||
            GetU32(pending_.data() + 4) !=
                kIndexHeaderSize + std::uint64_t{kIndexRecordSize} * count) {
          Fail(at, "INDX header");
          break;
        }
        if (stream >= known_.size() || !known_[stream]) {
          Fail(at + 14, "INDX of a stream without MDPR");
          break;
        }
        index_.push_back({at, pending_});
        pending_.clear();
        recordsLeft_ = count;
        lastRecordOffset_ = 0;
        phase_ = Phase::kRecords;
        break;
      }
      case Phase::kRecords: {
        if (recordsLeft_ == 0) {
          phase_ = Phase::kBetweenIndex;
          break;
        }
        if (!Collect(in, kIndexRecordSize)) break;
        const std::uint64_t offset = GetU32(pending_.data() + 6);
        const std::uint64_t number = GetU32(pending_.data() + 10);
        if (GetU16(pending_.data()) != 0 || offset < lastRecordOffset_ ||
            offset < data_.front().offset || number >= packets_) {
          Fail(pos_ - kIndexRecordSize, "INDX record");
          break;
        }
        lastRecordOffset_ = offset;
        recordSum_ += RecordHash(offset, number, GetU16(index_.back().bytes.data() + 14));
        pending_.clear();
        --recordsLeft_;
        break;
      }
      case Phase::kBetweenIndex:
        Follow(index_.back(), 16, Phase::kIndexHeader, Phase::kTail, "INDX.next_index_header");
        break;
      case Phase::kTail:
        pos_ += in.size();
        in = {};
        break;
    }
  }
}

void OutputCheck::Follow(const ChunkHead& chunk, std::size_t linkAt, Phase next, Phase end,
                         const char* what) {
  // Links are patched in before the chunk they name is written, so they are known here.
  const std::uint32_t link = GetU32(chunk.bytes.data() + linkAt);
  if (link == 0) {
    phase_ = end;
  } else if (link == pos_) {
    phase_ = next;
  } else {
    Fail(chunk.offset + linkAt, what);
  }
}

void OutputCheck::TakeHeaderBytes(std::span<const std::uint8_t>& in) {
  const std::uint64_t target = nextChunkAt_ + 8;
  const std::size_t n =
      static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), target - headerSection_.size()));
  headerSection_.insert(headerSection_.end(), in.begin(),
                        in.begin() + static_cast<std::ptrdiff_t>(n));
  in = in.subspan(n);
  pos_ += n;
  if (headerSection_.size() < target) return;
  const std::uint32_t id = GetU32(headerSection_.data() + nextChunkAt_);
  const std::uint32_t size = GetU32(headerSection_.data() + nextChunkAt_ + 4);
  if (id != kDataId) {
    if (size < kChunkHeaderSize || headerSection_.size() > kMaxHeaderChunkSize * 64) {
      Fail(nextChunkAt_, "header chunk size");
      return;
    }
    nextChunkAt_ += size;
    return;
  }
  // The first DATA: its opening bytes start the data section.
  pending_.assign(headerSection_.end() - 8, headerSection_.end());
  headerSection_.resize(headerSection_.size() - 8);
  Headers headers;
  if (!ParseHeaderSection(headers)) return;
  const std::size_t table = headers.StreamTableSize();
  known_.assign(table, false);
  events_.assign(table, false);
  tallies_.assign(table, StreamSummary{});
  for (const MediaProperties& m : headers.media) {
    known_[m.streamNumber] = true;
    events_[m.streamNumber] = IsEventMime(m.mime);
  }
  phase_ = Phase::kDataHeader;
}

bool OutputCheck::ParseHeaderSection(Headers& headers) {
  Bytes file = headerSection_;
  const Bytes dataHeader = data_.empty() ? SerializeDataHeader(0, 0, 0) : data_.front().bytes;
  file.insert(file.end(), dataHeader.begin(), dataHeader.end());
  MemorySource source(file);
  Error inner;
  if (!ReadHeaders(source, headers, inner)) {
    Fail(inner.offset, "header section: " + Describe(inner));
    return false;
  }
  return true;
}

void OutputCheck::StartPacket() {
  PacketHeader h;
  if (ParsePacketHeader(pending_, h) != PacketCheck::kOk) {
    Fail(packetStart_, "packet length");
    return;
  }
  if (h.stream >= known_.size() || !known_[h.stream]) {
    Fail(packetStart_ + 4, "packet of a stream without MDPR");
    return;
  }
  if (chunkEnd_ != 0 && packetStart_ + h.length > chunkEnd_) {
    Fail(packetStart_, "packet beyond DATA.size");
    return;
  }
  while (!marks_.empty() && marks_.front().offset <= packetStart_) {
    const Mark m = marks_.front();
    marks_.pop_front();
    if (m.offset != packetStart_) {
      Fail(m.offset, "indexed packet not at a packet start");
      return;
    }
    markSums_[static_cast<int>(m.source)] += m.count * RecordHash(m.offset, packets_, h.stream);
  }
  const std::size_t payload = h.PayloadSize();
  StreamSummary& t = tallies_[h.stream];
  ++t.packets;
  t.payloadBytes += payload;
  ++packets_;
  ++chunkPackets_;
  totalPayload_ += payload;
  maxPayload_ = std::max<std::uint64_t>(maxPayload_, payload);
  packetStream_ = h.stream;
  packetSeen_ = payloadSeen_;
  payloadLeft_ = payload;
  pending_.clear();
  eventPayload_.clear();
  if (payloadLeft_ == 0) EndPacket();
}

void OutputCheck::EndPacket() {
  if (packetSeen_) written_.EndPayload();
  if (!events_[packetStream_]) return;
  FoundEvent found;
  found.stream = packetStream_;
  found.offset = packetStart_;
  found.parsed = ParseEventPayload(eventPayload_, found.event);
  if (!found.parsed) {
    Fail(packetStart_, "event payload");
    return;
  }
  foundEvents_.push_back(std::move(found));
}

void OutputCheck::EndDataChunk() {
  const ChunkHead& c = data_.back();
  if (GetU32(c.bytes.data() + 4) != pos_ - c.offset ||
      GetU32(c.bytes.data() + 10) != chunkPackets_) {
    Fail(c.offset, "DATA size or packet count");
    return;
  }
  phase_ = Phase::kBetweenData;
}

void OutputCheck::Patch(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  if (!ok_) return;
  patchAt_ = offset;
  patchEnd_ = offset + bytes.size();
  auto patchInto = [&](std::uint64_t start, Bytes& target) {
    if (offset < start || offset + bytes.size() > start + target.size()) return false;
    std::copy(bytes.begin(), bytes.end(),
              target.begin() + static_cast<std::ptrdiff_t>(offset - start));
    return true;
  };
  if (patchInto(0, headerSection_)) return;
  for (std::vector<ChunkHead>* heads : {&data_, &index_}) {
    auto it = std::upper_bound(heads->begin(), heads->end(), offset,
                               [](std::uint64_t v, const ChunkHead& h) { return v < h.offset; });
    if (it == heads->begin() || !patchInto((it - 1)->offset, (it - 1)->bytes)) continue;
    // The size of the chunk being filled: it closes here.
    if (heads == &data_ && it == heads->end() && phase_ == Phase::kPackets && chunkEnd_ == 0) {
      const std::uint32_t size = GetU32(data_.back().bytes.data() + 4);
      if (size != 0) {
        chunkEnd_ = data_.back().offset + size;
        if (pos_ != chunkEnd_ || payloadLeft_ != 0 || !pending_.empty()) {
          Fail(data_.back().offset + 4, "DATA.size");
          return;
        }
        EndDataChunk();
      }
    }
    return;
  }
  Fail(offset, "bytes rewritten outside a chunk header");
}

void OutputCheck::ExpectIndexed(std::uint64_t offset, IndexSource source, std::uint32_t count) {
  if (count > 0) marks_.push_back({offset, source, count});
}

void OutputCheck::WithdrawIndexed(std::uint64_t offset, std::uint64_t ordinal, std::uint16_t stream,
                                  IndexSource source) {
  markSums_[static_cast<int>(source)] -= RecordHash(offset, ordinal, stream);
}

void OutputCheck::UseIndex(IndexSource source, bool announced) {
  chosen_ = source;
  announced_ = announced;
}

void OutputCheck::NoteReadPayload(std::span<const std::uint8_t> payload) {
  read_.Add(payload);
  read_.EndPayload();
}

void OutputCheck::Written(std::uint64_t offset, std::uint64_t size) {
  if (!ok_ || size == 0) return;
  if (offset == landed_ && landed_ + size <= pos_) {
    landed_ += size;
  } else if (offset < patchAt_ || offset + size > patchEnd_ || offset + size > landed_) {
    Fail(offset, "bytes written where the check did not expect them");
  }
}

bool OutputCheck::Finish(FileSummary& summary, Error& error) {
  const bool closed =
      phase_ == Phase::kTail || phase_ == Phase::kAfterData ||
      (phase_ == Phase::kBetweenData && GetU32(data_.back().bytes.data() + 14) == 0) ||
      (phase_ == Phase::kRecords && recordsLeft_ == 0) ||
      (phase_ == Phase::kBetweenIndex && GetU32(index_.back().bytes.data() + 16) == 0);
  if (ok_ && (!closed || !pending_.empty())) Fail(pos_, "file ends inside a chunk");
  if (ok_ && !marks_.empty()) Fail(marks_.front().offset, "indexed packet never written");
  for (std::size_t i = 0; ok_ && i < data_.size(); ++i) {
    const std::uint64_t next = i + 1 < data_.size() ? data_[i + 1].offset : 0;
    if (GetU32(data_[i].bytes.data() + 14) != next) Fail(data_[i].offset + 14, "DATA link");
  }
  for (std::size_t i = 0; ok_ && i < index_.size(); ++i) {
    const std::uint64_t next = i + 1 < index_.size() ? index_[i + 1].offset : 0;
    if (GetU32(index_[i].bytes.data() + 16) != next) Fail(index_[i].offset + 16, "INDX link");
  }
  const std::uint64_t expected =
      markSums_[static_cast<int>(chosen_)] + markSums_[static_cast<int>(IndexSource::kAdded)];
  if (ok_ && announced_ && expected != recordSum_) {
    Fail(index_.empty() ? pos_ : index_.front().offset, "index records do not name their packets");
  }
  if (ok_ && landed_ != pos_) Fail(landed_, "bytes checked but never written");
  if (ok_ && (read_.Value() != written_.Value() || read_.Payloads() != written_.Payloads() ||
              read_.Bytes() != written_.Bytes())) {
    Fail(0, "payload checksum");
  }
  Headers headers;
  if (ok_ && ParseHeaderSection(headers)) {
    const Properties& prop = headers.prop;
    const std::uint64_t firstIndex = index_.empty() ? 0 : index_.front().offset;
    if (prop.dataOffset != headers.firstDataOffset) Fail(0, "PROP.data_offset");
    if (prop.indexOffset != firstIndex) Fail(0, "PROP.index_offset");
  }
  if (ok_) {
    summary = FileSummary{};
    summary.fileSize = pos_;
    summary.packets = packets_;
    summary.dataChunks = data_.size();
    summary.indexChunks = index_.size();
    for (const MediaProperties& m : headers.media) {
      StreamSummary s = tallies_[m.streamNumber];
      s.number = m.streamNumber;
      s.mime = m.mime;
      s.name = m.name;
      summary.streams.push_back(std::move(s));
    }
    summary.events = std::move(foundEvents_);
    Error derived;
    if (!CheckDerivedFields(headers, summary, totalPayload_, maxPayload_, derived)) {
      Fail(derived.offset, Describe(derived));
    }
  }
  if (!ok_) error.Set(error_.code, error_.offset, error_.what);
  return ok_;
}

}  // namespace rm
