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
         Error& error)
      : source_(source),
        headers_(headers),
        visitor_(visitor),
        strict_(strictness == Strictness::kStrict),
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
    if (prop.indexOffset != 0 &&
        !ReadIndexChain(source_, prop.indexOffset, known_, Mode(), chain, error_)) {
      return false;
    }
    {
      IndexRecordCheck check(source_, chain, error_);
      reader_.Seek(headers_.firstDataOffset);
      if (!WalkDataChunks(check)) return false;
      check.Finish();
      if (!error_.Ok()) return false;
    }
    const std::uint64_t dataEnd = reader_.Position();
    if (!chain.empty() && chain.front().offset != dataEnd) {
      return Fail(ErrorCode::kUnsupported, prop.indexOffset, "INDX not right after the data");
    }
    if (chain.empty() && NextIdIs(kIndxId)) {
      // An index nobody points at: tolerated on input, wrong in a file of ours. It is found only
      // after the packets, so its records are matched to them in a second, header-only pass.
      if (strict_) return Fail(ErrorCode::kBadField, 0, "PROP.index_offset");
      if (!ReadIndexChain(source_, dataEnd, known_, Strictness::kTolerant, chain, error_) ||
          !CheckRecordsAgain(chain)) {
        return false;
      }
    }
    if (!WalkIndexChunks(chain)) return false;
    visitor_.OnIndexEnd(reader_.Position());
    if (!error_.Ok()) return false;
    return visitor_.WantsTail() ? WalkTail() : true;
  }

 private:
  bool CheckRecordsAgain(const std::vector<IndexChunkInfo>& chain) {
    DataVisitor none;
    Walker again(source_, headers_, none, Mode(), error_);
    IndexRecordCheck check(source_, chain, error_);
    again.reader_.Seek(headers_.firstDataOffset);
    if (!again.WalkDataChunks(check)) return false;
    check.Finish();
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

  // For DATA chunks without a packet count: is a plausible packet header next?
  bool PacketFollows() {
    const std::uint64_t left = reader_.RemainingInFile();
    if (left < kPacketHeaderV0) return false;
    if (!Need(static_cast<std::size_t>(std::min<std::uint64_t>(left, kPacketHeaderV1)), "packet"))
      return false;
    PacketHeader h;
    return ParsePacketHeader(reader_.Available(), h) == PacketCheck::kOk && h.length <= left &&
           Known(h.stream);
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

  bool WalkDataChunks(IndexRecordCheck& check) {
    std::uint64_t ordinal = 0;
    for (;;) {
      const std::uint64_t start = reader_.Position();
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
      std::uint32_t count = 0;
      while (countKnown ? count < dh.numPackets : PacketFollows()) {
        const std::uint64_t at = reader_.Position();
        PacketHeader h;
        if (!ReadPacketHeader(h)) return false;
        if (countKnown && at + h.length > declaredEnd) {
          return Fail(ErrorCode::kOverrun, at, "packet beyond DATA.size");
        }
        if (!Need(h.length, "packet")) return false;
        check.OnPacket(at, ordinal, h.stream);
        if (!error_.Ok()) return false;
        visitor_.OnPacket(PacketView{at, ordinal, h, reader_.Available().first(h.length)});
        if (!error_.Ok()) return false;
        reader_.Consume(h.length);
        ++ordinal;
        ++count;
      }
      if (!error_.Ok()) return false;
      const std::uint64_t end = reader_.Position();
      const std::uint64_t actual = end - start;
      const bool sizeOk = dh.size == actual ||
                          (!strict_ && (!countKnown || dh.size == actual + kFfmpegDataSizeExcess));
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

  bool WalkIndexChunks(const std::vector<IndexChunkInfo>& chain) {
    for (const IndexChunkInfo& chunk : chain) {
      if (!Need(kIndexHeaderSize, "INDX")) return false;
      reader_.Consume(kIndexHeaderSize);
      visitor_.OnIndexChunk(chunk.offset, chunk.header);
      if (!error_.Ok()) return false;
      for (std::uint32_t i = 0; i < chunk.header.numIndices; ++i) {
        const std::uint64_t at = reader_.Position();
        if (!Need(kIndexRecordSize, "INDX record")) return false;
        ByteCursor in(reader_.Available().first(kIndexRecordSize), at, error_, "INDX record");
        const IndexRecord record = ParseIndexRecord(in);
        if (record.version != 0) return Fail(ErrorCode::kBadField, at, "INDX record version");
        reader_.Consume(kIndexRecordSize);
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
  Error& error_;
  BlockReader reader_;
  std::vector<bool> known_;
};

}  // namespace

bool WalkData(Source& source, const Headers& headers, DataVisitor& visitor, Strictness strictness,
              Error& error) {
  Walker walker(source, headers, visitor, strictness, error);
  return walker.Run() && error.Ok();
}

}  // namespace rm
