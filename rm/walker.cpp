#include "rm/walker.h"

#include <algorithm>
#include <vector>

#include "rm/block_reader.h"
#include "rm/byte_cursor.h"
#include "rm/chunk_header.h"
#include "rm/fourcc.h"

namespace rm {

namespace {

// FFmpeg writes DATA.size this much too large.
constexpr std::uint32_t kFfmpegDataSizeExcess = 18;

class Walker {
 public:
  Walker(Source& source, const Headers& headers, DataVisitor& visitor, Strictness strictness,
         Error& error, WalkRepair* repair = nullptr)
      : source_(source),
        headers_(headers),
        visitor_(visitor),
        strict_(strictness == Strictness::kStrict),
        repair_(strict_ ? nullptr : repair),
        error_(error),
        reader_(source, error),
        known_(headers.StreamTableSize(), false) {
    for (const MediaProperties& m : headers.media) known_[m.streamNumber] = true;
  }

  bool Run() {
    const Properties& prop = headers_.prop;
    if (strict_ && prop.dataOffset != headers_.firstDataOffset) {
      return Fail(ErrorCode::kBadField, 0, "PROP.data_offset");
    }
    std::vector<IndexChunkInfo> chain;
    IndexChainDamage damage;
    IndexChainDamage* noted = repair_ != nullptr ? &damage : nullptr;
    if (prop.indexOffset != 0 &&
        !ReadIndexChain(source_, prop.indexOffset, known_, Mode(), chain, error_, noted)) {
      return false;
    }
    bool matched = true;
    {
      IndexRecordCheck check(source_, damage.Any() ? std::vector<IndexChunkInfo>{} : chain, error_,
                             repair_ != nullptr);
      reader_.Seek(headers_.firstDataOffset);
      if (!WalkDataChunks(check)) return false;
      check.Finish();
      if (!error_.Ok()) return false;
      matched = !check.Mismatch();
    }
    if (cut_) return EndAfterCut();
    const std::uint64_t dataEnd = reader_.Position();
    if (damage.runsOffEnd) {
      // Repaired only where the file really ends inside its index; a link past the end of a
      // film whose index should lie elsewhere is damage.
      if (prop.indexOffset != dataEnd) {
        return Fail(ErrorCode::kBadChain, prop.indexOffset, "INDX link past the end of the file");
      }
      return EndAfterCut();
    }
    if (!chain.empty() && chain.front().offset != dataEnd) {
      return Fail(ErrorCode::kUnsupported, prop.indexOffset, "INDX not right after the data");
    }
    if (chain.empty() && NextIdIs(kIndxId)) {
      // An index nobody points at: tolerated on input, wrong in a file of ours. It is found only
      // after the packets, so its records are matched to them in a second, header-only pass.
      if (strict_) return Fail(ErrorCode::kBadField, 0, "PROP.index_offset");
      if (!ReadIndexChain(source_, dataEnd, known_, Strictness::kTolerant, chain, error_, noted)) {
        return false;
      }
      if (damage.runsOffEnd) return EndAfterCut();
      if (!damage.Any() && !CheckRecordsAgain(chain, matched)) return false;
    }
    if (damage.countsWrong || !matched) {
      if (!WalkIndexChunks(chain, false)) return false;
      repair_->indexRebuilt = true;
      visitor_.OnIndexRebuild();
    } else if (!WalkIndexChunks(chain, true)) {
      return false;
    }
    visitor_.OnIndexEnd(reader_.Position());
    if (!error_.Ok()) return false;
    return visitor_.WantsTail() ? WalkTail() : true;
  }

 private:
  bool CheckRecordsAgain(const std::vector<IndexChunkInfo>& chain, bool& matched) {
    DataVisitor none;
    Walker again(source_, headers_, none, Mode(), error_);
    IndexRecordCheck check(source_, chain, error_, repair_ != nullptr);
    again.reader_.Seek(headers_.firstDataOffset);
    if (!again.WalkDataChunks(check)) return false;
    check.Finish();
    matched = !check.Mismatch();
    return error_.Ok();
  }

  // Everything after the cut is gone, the index with it: the visitor writes its own, and there
  // is no tail.
  bool EndAfterCut() {
    repair_->cut = true;
    repair_->cutAt = source_.Size();
    repair_->keptPackets = ordinal_;
    repair_->indexRebuilt = true;
    visitor_.OnIndexRebuild();
    if (!error_.Ok()) return false;
    visitor_.OnIndexEnd(reader_.Position());
    return error_.Ok();
  }

  rm::Strictness Mode() const { return strict_ ? Strictness::kStrict : Strictness::kTolerant; }

  bool Fail(ErrorCode code, std::uint64_t offset, std::string what) {
    error_.Set(code, offset, std::move(what));
    return false;
  }

  // Makes n bytes available, telling the visitor first if the buffer is about to move.
  bool Need(std::size_t n, const char* what) {
    if (reader_.Available().size() >= n) return true;
    visitor_.BeforeRefill();
    if (!error_.Ok()) return false;
    if (reader_.Ensure(n)) return true;
    return Fail(ErrorCode::kTruncated, reader_.Position(), what);
  }

  bool Known(std::uint16_t stream) const { return stream < known_.size() && known_[stream]; }

  bool NextIdIs(std::uint32_t id) {
    if (reader_.RemainingInFile() < kChunkHeaderSize) return false;
    if (!Need(4, "chunk id")) return false;
    return GetU32(reader_.Available().data()) == id;
  }

  // For DATA chunks whose count and size say nothing: a plausible packet header next? A
  // repairing walk also recognises one that the end of the file cuts through.
  enum class Next { kPacket, kEnd, kCut };
  Next PacketFollows(bool sizeSaysMore) {
    const std::uint64_t left = reader_.RemainingInFile();
    if (left == 0) return Next::kEnd;
    if (!Need(static_cast<std::size_t>(std::min<std::uint64_t>(left, kPacketHeaderV1)), "packet"))
      return Next::kEnd;
    PacketHeader h;
    const PacketCheck check = ParsePacketHeader(reader_.Available(), h);
    if (check == PacketCheck::kOk && Known(h.stream) && h.length <= left) return Next::kPacket;
    const bool cutThrough = check == PacketCheck::kOk ? Known(h.stream) && h.length > left
                                                      : check == PacketCheck::kNeedMore;
    // Before any complete packet, what follows is taken for a tail as a plain walk takes it: a
    // repair must never refuse a film the plain walk accepts.
    return repair_ != nullptr && ordinal_ > 0 && sizeSaysMore && cutThrough ? Next::kCut
                                                                            : Next::kEnd;
  }

  bool ReadPacketHeader(PacketHeader& h) {
    const std::uint64_t at = reader_.Position();
    if (!Need(kPacketHeaderV0, "packet header")) return false;
    PacketCheck check = ParsePacketHeader(reader_.Available(), h);
    if (check == PacketCheck::kNeedMore) {
      if (!Need(kPacketHeaderV1, "packet header")) return false;
      check = ParsePacketHeader(reader_.Available(), h);
    }
    if (check == PacketCheck::kBadVersion) return Fail(ErrorCode::kBadPacket, at, "packet version");
    if (check == PacketCheck::kBadLength) return Fail(ErrorCode::kBadPacket, at, "packet length");
    if (!Known(h.stream)) {
      return Fail(ErrorCode::kBadStreamNumber, at + 4,
                  "packet of stream " + std::to_string(h.stream) + " without MDPR");
    }
    return true;
  }

  // True when a repairing walk finds the file ending inside the packet that starts here.
  bool CutInPacket() {
    if (repair_ == nullptr) return false;
    const std::uint64_t left = reader_.RemainingInFile();
    if (left >= kPacketHeaderV1) return false;
    if (left < kPacketHeaderV0) return true;
    if (!Need(static_cast<std::size_t>(left), "packet header")) return false;
    return GetU16(reader_.Available().data()) == 1;  // a version 1 header needs 13 bytes
  }

  bool WalkDataChunks(IndexRecordCheck& check) {
    for (;;) {
      const std::uint64_t start = reader_.Position();
      if (repair_ != nullptr && ordinal_ > 0 && reader_.RemainingInFile() < kDataHeaderSize) {
        cut_ = true;  // the next chunk of the chain was never written
        visitor_.OnDataChunkEnd(start, start, 0, true);
        return error_.Ok();
      }
      if (!Need(kDataHeaderSize, "DATA")) return false;
      ByteCursor headerBytes(reader_.Available().first(kDataHeaderSize), start, error_, "DATA");
      const DataHeader dh = ParseDataHeader(headerBytes);
      if (!headerBytes.Ok()) return false;
      if (strict_ && dh.version != 0)
        return Fail(ErrorCode::kBadField, start, "DATA.object_version");
      reader_.Consume(kDataHeaderSize);
      visitor_.OnDataChunk(start, dh);
      if (!error_.Ok()) return false;

      const bool countKnown = dh.numPackets != 0;
      const std::uint64_t declaredEnd = start + dh.size;
      // Without a count the size bounds the packets, unless it cannot be right either (0, or
      // past the end of the file); then packets are read while they look like packets.
      const bool sizeBounds = !countKnown && dh.size > kDataHeaderSize &&
                              dh.size - kDataHeaderSize <= reader_.RemainingInFile();
      std::uint32_t count = 0;
      for (;;) {
        if (countKnown ? count == dh.numPackets : sizeBounds && reader_.Position() >= declaredEnd)
          break;
        if (sizeBounds && declaredEnd - reader_.Position() == kFfmpegDataSizeExcess &&
            PacketFollows(false) != Next::kPacket) {
          break;  // FFmpeg's size, 18 bytes too large
        }
        if (!countKnown && !sizeBounds) {
          const Next next = PacketFollows(dh.size == 0 || declaredEnd > source_.Size());
          if (next == Next::kEnd) break;
          if (next == Next::kCut) cut_ = true;
        }
        const std::uint64_t at = reader_.Position();
        PacketHeader h;
        if (!cut_ && CutInPacket()) cut_ = true;
        if (!cut_ && !ReadPacketHeader(h)) return false;
        if (!cut_ && (countKnown || sizeBounds) && at + h.length > declaredEnd) {
          return Fail(ErrorCode::kOverrun, at, "packet beyond DATA.size");
        }
        if (!cut_ && repair_ != nullptr && h.length > reader_.RemainingInFile()) cut_ = true;
        if (cut_) {
          if (!error_.Ok()) return false;
          // Nothing complete to keep: refused as any truncated file.
          if (ordinal_ == 0) return Fail(ErrorCode::kTruncated, reader_.Position(), "packet");
          visitor_.OnDataChunkEnd(start, at, count, true);
          return error_.Ok();
        }
        if (!Need(h.length, "packet")) return false;
        const std::uint32_t named = check.OnPacket(at, ordinal_, h.stream);
        if (!error_.Ok()) return false;
        visitor_.OnPacket(PacketView{at, ordinal_, h, reader_.Available().first(h.length), named});
        if (!error_.Ok()) return false;
        reader_.Consume(h.length);
        ++ordinal_;
        ++count;
      }
      if (!error_.Ok()) return false;
      const std::uint64_t end = reader_.Position();
      const std::uint64_t actual = end - start;
      const bool sizeOk =
          dh.size == actual ||
          (!strict_ && ((!countKnown && !sizeBounds) || dh.size == actual + kFfmpegDataSizeExcess));
      if (!sizeOk) return Fail(ErrorCode::kBadField, start + 4, "DATA.size");
      const bool last = dh.nextDataHeader == 0;
      visitor_.OnDataChunkEnd(start, end, count, last);
      if (!error_.Ok()) return false;
      if (last) return true;
      // The next chunk must start where this one ends; that also rules out loops.
      if (dh.nextDataHeader != end)
        return Fail(ErrorCode::kBadChain, start + 14, "DATA.next_data_header");
    }
  }

  // `announce` false: the records are stepped over unseen (the visitor writes its own index).
  bool WalkIndexChunks(const std::vector<IndexChunkInfo>& chain, bool announce) {
    for (const IndexChunkInfo& chunk : chain) {
      if (!Need(kIndexHeaderSize, "INDX")) return false;
      reader_.Consume(kIndexHeaderSize);
      if (announce) visitor_.OnIndexChunk(chunk.offset, chunk.header);
      if (!error_.Ok()) return false;
      for (std::uint32_t i = 0; i < chunk.header.numIndices; ++i) {
        const std::uint64_t at = reader_.Position();
        if (!Need(kIndexRecordSize, "INDX record")) return false;
        ByteCursor in(reader_.Available().first(kIndexRecordSize), at, error_, "INDX record");
        const IndexRecord record = ParseIndexRecord(in);
        reader_.Consume(kIndexRecordSize);
        if (!announce) continue;
        if (record.version != 0) return Fail(ErrorCode::kBadField, at, "INDX record version");
        visitor_.OnIndexRecord(record);
        if (!error_.Ok()) return false;
      }
    }
    return true;
  }

  bool WalkTail() {
    while (reader_.RemainingInFile() > 0) {
      // Whole blocks however the source delivers them, so the visitor sees the tail's start at
      // once.
      const auto block =
          static_cast<std::size_t>(std::min<std::uint64_t>(reader_.RemainingInFile(), 1 << 16));
      if (!Need(block, "tail")) return false;
      const auto bytes = reader_.Available();
      visitor_.OnTail(bytes);
      if (!error_.Ok()) return false;
      reader_.Consume(bytes.size());
    }
    return true;
  }

  Source& source_;
  const Headers& headers_;
  DataVisitor& visitor_;
  bool strict_;
  WalkRepair* repair_;
  Error& error_;
  BlockReader reader_;
  std::vector<bool> known_;
  std::uint64_t ordinal_ = 0;  // of the next packet in the data section
  bool cut_ = false;           // the file ends inside the data section
};

}  // namespace

bool WalkData(Source& source, const Headers& headers, DataVisitor& visitor, Strictness strictness,
              Error& error, WalkRepair* repair) {
  if (repair != nullptr) *repair = WalkRepair{};
  Walker walker(source, headers, visitor, strictness, error, repair);
  return walker.Run() && error.Ok();
}

}  // namespace rm
