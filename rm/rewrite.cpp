#include "rm/rewrite.h"

#include <algorithm>
#include <limits>

#include "rm/block_reader.h"
#include "rm/block_writer.h"
#include "rm/byte_order.h"
#include "rm/data_chunk.h"
#include "rm/fourcc.h"
#include "rm/index_chain.h"
#include "rm/index_rebuild.h"
#include "rm/indx.h"
#include "rm/offset_shift.h"
#include "rm/packet.h"
#include "rm/walker.h"

namespace rm {

namespace {

constexpr std::uint64_t kU32Max = std::numeric_limits<std::uint32_t>::max();

class Rewriter : public DataVisitor {
 public:
  Rewriter(Source& in, const RewritePlan& plan, BlockWriter& out, OutputCheck& check,
           bool sinkCopies, bool inputIndexLinked, RewriteResult& result, IndexRebuilder& rebuilder,
           Error& error)
      : in_(in),
        plan_(plan),
        out_(out),
        check_(check),
        sinkCopies_(sinkCopies),
        inputIndexLinked_(inputIndexLinked),
        result_(result),
        rebuilder_(rebuilder),
        error_(error) {
    result_.written.assign(plan.streams.size() + 1, StreamTally{});
  }

  bool WriteHeader() {
    Bytes buffer;
    for (const HeaderPiece& piece : plan_.header) {
      if (!piece.bytes.empty()) {
        out_.Write(piece.bytes);
        continue;
      }
      for (std::uint64_t done = 0; done < piece.copySize && error_.Ok();) {
        buffer.resize(
            static_cast<std::size_t>(std::min<std::uint64_t>(piece.copySize - done, 1 << 16)));
        if (!ReadExact(in_, piece.copyOffset + done, buffer, error_, "header chunk")) return false;
        out_.Write(buffer);
        done += buffer.size();
      }
    }
    return error_.Ok();
  }

  void OnDataChunk(std::uint64_t offset, const DataHeader& /*header*/) override {
    oldChunkOffset_ = offset;
    if (!plan_.dataOffsetPatches.empty()) oldChunkOffsets_.push_back(offset);
  }

  void OnPacket(const PacketView& p) override {
    const int newNumber = plan_.newNumber[p.header.stream];
    if (newNumber < 0) {
      FlushRun();
      NoteRemoved(p);
      return;
    }
    EmitEventsBefore(p.header.timestamp);
    OpenChunk();
    const std::uint64_t newOffset = out_.Position() + runSize_;
    if (!shifts_.Note(p.offset, newOffset, p.ordinal, newOrdinal_)) {
      error_.Set(ErrorCode::kTooLarge, p.offset, "removed and inserted packets");
      return;
    }
    check_.ExpectIndexed(newOffset, IndexSource::kTranslated, p.indexRecords);
    if (rebuilder_.OnPacket(p.header.stream, static_cast<std::uint16_t>(newNumber), p.header,
                            newOffset, newOrdinal_)) {
      check_.ExpectIndexed(newOffset, IndexSource::kRebuilt);
    }
    // Packets whose bytes do not change are copied by the system where it can; the others pass
    // through here, and their payloads are summed on the way in as on the way out.
    const bool copy = sinkCopies_ && newNumber == p.header.stream;
    if (newNumber != p.header.stream)
      SetPacketStream(p.bytes.data(), static_cast<std::uint16_t>(newNumber));
    if (!copy) check_.NoteReadPayload(p.bytes.subspan(p.header.HeaderSize()));
    if (runSize_ > 0 && runStart_ + runSize_ == p.bytes.data() && runCopy_ == copy) {
      runSize_ += p.bytes.size();
    } else {
      FlushRun();
      runStart_ = p.bytes.data();
      runSize_ = p.bytes.size();
      runFrom_ = p.offset;
      runCopy_ = copy;
    }
    Count(newNumber, p.header.PayloadSize());
  }

  void OnDataChunkEnd(std::uint64_t /*offset*/, std::uint64_t /*end*/, std::uint32_t /*packets*/,
                      bool last) override {
    if (last) {
      // Events later than every packet go at the end of the last chunk.
      EmitEventsBefore(std::numeric_limits<std::uint64_t>::max());
      if (!anyChunk_) {
        error_.Set(ErrorCode::kNoStreamsLeft, 0, "");  // only event packets were there
        return;
      }
    }
    if (chunkOpen_) CloseChunk();
  }

  void OnIndexChunk(std::uint64_t /*offset*/, const IndexHeader& header) override {
    const int newNumber = plan_.newNumber[header.stream];
    skipRecords_ = newNumber < 0;
    // Records of an index nobody pointed at were matched only after the packets had been
    // written, too late to announce them to the check.
    check_.UseIndex(IndexSource::kTranslated, inputIndexLinked_);
    if (skipRecords_) return;
    StartIndexChunk(header.numIndices, static_cast<std::uint16_t>(newNumber));
  }

  void OnIndexRecord(const IndexRecord& record) override {
    if (skipRecords_ || !error_.Ok()) return;
    Shift shift;
    if (!shifts_.Find(record.offset, shift)) {
      error_.Set(ErrorCode::kBadIndex, record.offset, "record before the first kept packet");
      return;
    }
    const std::int64_t offset = std::int64_t{record.offset} + shift.bytes;
    const std::int64_t number = std::int64_t{record.packetNumber} + shift.ordinals;
    if (offset < 0 || number < 0 || static_cast<std::uint64_t>(offset) > kU32Max ||
        static_cast<std::uint64_t>(number) > kU32Max) {
      error_.Set(ErrorCode::kBadIndex, record.offset, "record does not name a kept packet");
      return;
    }
    Bytes bytes;
    PutIndexRecord(bytes, {0, record.timestamp, static_cast<std::uint32_t>(offset),
                           static_cast<std::uint32_t>(number)});
    out_.Write(bytes);
  }

  void OnIndexRebuild() override {
    check_.UseIndex(IndexSource::kRebuilt);
    // Which streams had an index is unknown when part of the chain was lost, or when the index
    // was one nobody pointed at.
    const IndexSurvey& survey = rebuilder_.Survey();
    const bool everyKeyedStream =
        survey.unknownStreams || (!survey.hadIndex && !result_.repair.cut);
    std::vector<IndexRebuilder::StreamIndex> left;
    const auto streams = rebuilder_.Result(plan_.newNumber, everyKeyedStream, left);
    for (const auto& stream : left) {
      for (const IndexRecord& r : stream.records) {
        check_.WithdrawIndexed(r.offset, r.packetNumber, stream.stream, IndexSource::kRebuilt);
      }
    }
    for (const auto& stream : streams) {
      if (out_.Position() + kIndexHeaderSize + kIndexRecordSize * stream.records.size() > kU32Max) {
        error_.Set(ErrorCode::kOutputTooLarge, out_.Position(), "output");
        return;
      }
      StartIndexChunk(static_cast<std::uint32_t>(stream.records.size()), stream.stream);
      Bytes bytes;
      for (const IndexRecord& r : stream.records) PutIndexRecord(bytes, r);
      out_.Write(bytes);
    }
  }

  void OnIndexEnd(std::uint64_t /*end*/) override {
    // Added events get their own INDX, one record per event packet, at the end of the chain.
    if (plan_.addedEvents.empty()) return;
    StartIndexChunk(static_cast<std::uint32_t>(addedIndex_.size()),
                    static_cast<std::uint16_t>(plan_.addedStream));
    Bytes bytes;
    for (const IndexRecord& r : addedIndex_) PutIndexRecord(bytes, r);
    out_.Write(bytes);
  }

  bool WantsTail() const override { return true; }
  void OnTail(std::span<const std::uint8_t> bytes) override {
    // A tail that starts like an INDX is taken for one when no index precedes it.
    if (!tailStarted_ && firstIndexAt_ == 0 && bytes.size() >= 4 &&
        GetU32(bytes.data()) == kIndxId) {
      error_.Set(ErrorCode::kUnsupported, 0, "tail that starts like an INDX");
      return;
    }
    tailStarted_ = true;
    out_.Write(bytes);
  }
  void BeforeRefill() override { FlushRun(); }

  bool Finish() {
    if (!error_.Ok()) return false;
    if (out_.Position() > kU32Max) {
      error_.Set(ErrorCode::kOutputTooLarge, out_.Position(), "output");
      return false;
    }
    Properties prop = plan_.prop;
    prop.numPackets = static_cast<std::uint32_t>(result_.packetsWritten);
    // Never below what a stream header declares: FFmpeg writes an audio stream's nominal 1024
    // there even when every payload is smaller, and a player may size its buffers from it.
    prop.maxPacketSize = std::max(plan_.prop.maxPacketSize, maxPayload_);
    prop.avgPacketSize = result_.packetsWritten == 0
                             ? 0
                             : static_cast<std::uint32_t>(totalPayload_ / result_.packetsWritten);
    prop.indexOffset = static_cast<std::uint32_t>(firstIndexAt_);
    out_.Patch(plan_.propOffset, SerializeProperties(prop));
    for (const DataOffsetPatch& patch : plan_.dataOffsetPatches) PatchDataOffset(patch);
    out_.Flush();
    result_.bytesWritten = out_.Position();
    return error_.Ok();
  }

 private:
  void FlushRun() {
    if (runSize_ == 0) return;
    if (runCopy_) {
      out_.CopyPackets(in_, runFrom_, {runStart_, runSize_});
    } else {
      out_.Write({runStart_, runSize_});
    }
    runSize_ = 0;
  }

  void PatchU32(std::uint64_t at, std::uint64_t value) {
    if (value > kU32Max) {
      error_.Set(ErrorCode::kOutputTooLarge, at, "output");
      return;
    }
    std::uint8_t bytes[4];
    SetU32(bytes, static_cast<std::uint32_t>(value));
    out_.Patch(at, bytes);
  }

  void Count(int stream, std::size_t payload) {
    StreamTally& t = result_.written[static_cast<std::size_t>(stream)];
    ++t.packets;
    t.payloadBytes += payload;
    ++result_.packetsWritten;
    totalPayload_ += payload;
    maxPayload_ = std::max(maxPayload_, static_cast<std::uint32_t>(payload));
    ++newOrdinal_;
    ++chunkPackets_;
  }

  void NoteRemoved(const PacketView& p) {
    ++result_.removedPackets;
    if (!plan_.carriesEvents[p.header.stream]) return;
    ++result_.removedEventCount;
    if (result_.removedEvents.size() == kMaxListedEvents) return;
    RemovedEvent removed;
    removed.stream = p.header.stream;
    removed.timestamp = p.header.timestamp;
    removed.parsed = ParseEventPayload(p.bytes.subspan(p.header.HeaderSize()), removed.event);
    result_.removedEvents.push_back(std::move(removed));
  }

  // Writes the added events that start before `timestampMs`.
  void EmitEventsBefore(std::uint64_t timestampMs) {
    while (nextEvent_ < plan_.addedEvents.size() && error_.Ok()) {
      const Event& e = plan_.addedEvents[nextEvent_];
      const std::uint32_t ts = e.startDs * 100;
      if (ts >= timestampMs) return;
      OpenChunk();
      FlushRun();
      const Bytes payload = BuildEventPayload(e, static_cast<std::uint16_t>(nextEvent_));
      Bytes packet(kPacketHeaderV0);
      PutPacketHeaderV0(packet.data(), static_cast<std::uint16_t>(kPacketHeaderV0 + payload.size()),
                        static_cast<std::uint16_t>(plan_.addedStream), ts, kKeyframeFlag);
      PutBytes(packet, payload);
      addedIndex_.push_back({0, ts, static_cast<std::uint32_t>(out_.Position()),
                             static_cast<std::uint32_t>(newOrdinal_)});
      check_.ExpectIndexed(out_.Position(), IndexSource::kAdded);
      check_.NoteReadPayload(payload);
      out_.Write(packet);
      Count(plan_.addedStream, payload.size());
      ++nextEvent_;
    }
  }

  // DATA headers are written when their first packet is: a chunk left with no packets vanishes.
  void OpenChunk() {
    if (chunkOpen_) return;
    FlushRun();
    const std::uint64_t at = out_.Position();
    if (anyChunk_) PatchU32(lastChunkAt_ + 14, at);
    out_.Write(SerializeDataHeader(0, 0, 0));
    if (!plan_.dataOffsetPatches.empty()) chunkMoves_.push_back({oldChunkOffset_, at});
    chunkOpen_ = true;
    anyChunk_ = true;
    lastChunkAt_ = at;
    chunkPackets_ = 0;
  }

  void CloseChunk() {
    FlushRun();
    const std::uint64_t size = out_.Position() - lastChunkAt_;
    if (size > kU32Max) {
      error_.Set(ErrorCode::kOutputTooLarge, lastChunkAt_, "output");
      return;
    }
    out_.Patch(lastChunkAt_,
               SerializeDataHeader(static_cast<std::uint32_t>(size), chunkPackets_, 0));
    chunkOpen_ = false;
  }

  void StartIndexChunk(std::uint32_t numIndices, std::uint16_t stream) {
    const std::uint64_t at = out_.Position();
    if (result_.indexChunksWritten == kMaxIndexChunks) {
      error_.Set(ErrorCode::kTooLarge, at, "number of INDX chunks written");
      return;
    }
    if (at > kU32Max) {
      error_.Set(ErrorCode::kOutputTooLarge, at, "output");
      return;
    }
    if (firstIndexAt_ == 0) {
      firstIndexAt_ = at;
    } else {
      PatchU32(lastIndexAt_ + 16, at);
    }
    lastIndexAt_ = at;
    out_.Write(SerializeIndexHeader(numIndices, stream, 0));
    ++result_.indexChunksWritten;
  }

  void PatchDataOffset(const DataOffsetPatch& patch) {
    if (std::find(oldChunkOffsets_.begin(), oldChunkOffsets_.end(), patch.oldDataOffset) ==
        oldChunkOffsets_.end()) {
      return;  // not a DATA offset after all: left as found
    }
    std::uint64_t now = 0;  // the chunk lost all its packets
    for (const auto& [oldAt, newAt] : chunkMoves_) {
      if (oldAt == patch.oldDataOffset) now = newAt;
    }
    PatchU32(patch.fieldOffset, now);
  }

  Source& in_;
  const RewritePlan& plan_;
  BlockWriter& out_;
  OutputCheck& check_;
  bool sinkCopies_;
  bool inputIndexLinked_;
  RewriteResult& result_;
  IndexRebuilder& rebuilder_;
  Error& error_;

  const std::uint8_t* runStart_ = nullptr;  // kept packets not yet written, in the read buffer
  std::size_t runSize_ = 0;
  std::uint64_t runFrom_ = 0;  // input offset of the run
  bool runCopy_ = false;       // the run is copied by the system
  OffsetShifts shifts_;
  std::uint64_t newOrdinal_ = 0;
  std::uint64_t totalPayload_ = 0;
  std::uint32_t maxPayload_ = 0;
  std::size_t nextEvent_ = 0;
  std::vector<IndexRecord> addedIndex_;

  std::uint64_t oldChunkOffset_ = 0;
  bool chunkOpen_ = false;
  bool anyChunk_ = false;
  std::uint64_t lastChunkAt_ = 0;
  std::uint32_t chunkPackets_ = 0;
  std::vector<std::uint64_t> oldChunkOffsets_;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> chunkMoves_;

  bool skipRecords_ = false;
  std::uint64_t firstIndexAt_ = 0;
  std::uint64_t lastIndexAt_ = 0;
  bool tailStarted_ = false;
};

}  // namespace

bool Rewrite(Source& in, const Headers& headers, const RewritePlan& plan, Sink& out,
             RewriteResult& result, Error& error) {
  result = RewriteResult{};
  OutputCheck check;
  BlockWriter writer(out, error, &check);
  IndexRebuilder rebuilder(SurveyIndex(in, headers));
  Rewriter rewriter(in, plan, writer, check, out.CanCopyRange(), headers.prop.indexOffset != 0,
                    result, rebuilder, error);
  if (!rewriter.WriteHeader()) return false;
  if (!WalkData(in, headers, rewriter, Strictness::kTolerant, error, &result.repair)) return false;
  if (!rewriter.Finish()) return false;
  result.checked = check.Finish(result.produced, result.checkError);
  return true;
}

bool CopyWhole(Source& in, Sink& out, Error& error) {
  const std::uint64_t copied = out.CopyFrom(in, 0, in.Size());
  BlockReader reader(in, error);
  reader.Seek(copied);
  std::uint64_t at = copied;
  while (reader.RemainingInFile() > 0) {
    if (!reader.Ensure(1)) return false;
    const auto bytes = reader.Available();
    if (!out.WriteAt(at, bytes)) {
      error.Set(ErrorCode::kWriteFailed, at, "write");
      return false;
    }
    at += bytes.size();
    reader.Consume(bytes.size());
  }
  return error.Ok();
}

}  // namespace rm
