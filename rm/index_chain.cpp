#include "rm/index_chain.h"

#include <algorithm>

#include "rm/byte_cursor.h"

namespace rm {

namespace {

// A chunk whose size and link agree with each other but not with num_indices: its records are
// taken by the size. True when that reading holds together.
bool CountFromSize(IndexHeader& h, std::uint64_t offset, std::uint64_t fileSize) {
  if (h.size < kIndexHeaderSize || (h.size - kIndexHeaderSize) % kIndexRecordSize != 0)
    return false;
  if (h.size > fileSize - offset) return false;
  if (h.nextIndexHeader != 0 && h.nextIndexHeader != offset + h.size) return false;
  h.numIndices = (h.size - kIndexHeaderSize) / kIndexRecordSize;
  return true;
}

}  // namespace

bool ReadIndexChain(Source& source, std::uint64_t first, const std::vector<bool>& knownStreams,
                    Strictness strictness, std::vector<IndexChunkInfo>& chain, Error& error,
                    IndexChainDamage* damage) {
  chain.clear();
  for (std::uint64_t offset = first; offset != 0;) {
    if (chain.size() == kMaxIndexChunks) {
      error.Set(ErrorCode::kTooLarge, offset, "number of INDX chunks");
      return false;
    }
    if (offset > source.Size() || source.Size() - offset < kIndexHeaderSize) {
      if (damage != nullptr) {
        damage->runsOffEnd = true;
        return true;
      }
      error.Set(ErrorCode::kBadChain, offset, "INDX link past the end of the file");
      return false;
    }
    std::uint8_t bytes[kIndexHeaderSize];
    if (!ReadExact(source, offset, bytes, error, "INDX")) return false;
    ByteCursor in(bytes, offset, error, "INDX");
    IndexHeader h = ParseIndexHeader(in);
    if (!in.Ok()) return false;
    // FFmpeg's reader notes writers that leave the size at 20 although records follow.
    bool sizeOk =
        h.size == h.Extent() || (strictness == Strictness::kTolerant && h.size == kIndexHeaderSize);
    if (!sizeOk && damage != nullptr && CountFromSize(h, offset, source.Size())) {
      damage->countsWrong = true;
      sizeOk = true;
    }
    const std::uint64_t extent = h.Extent();
    if (extent > source.Size() - offset) {
      if (damage != nullptr) {
        damage->runsOffEnd = true;
        return true;
      }
      error.Set(ErrorCode::kOverrun, offset, "INDX.num_indices");
      return false;
    }
    if (!sizeOk || (strictness == Strictness::kStrict && h.version != 0)) {
      error.Set(ErrorCode::kBadField, offset, sizeOk ? "INDX.object_version" : "INDX.size");
      return false;
    }
    if (h.stream >= knownStreams.size() || !knownStreams[h.stream]) {
      error.Set(ErrorCode::kBadStreamNumber, offset + 14,
                "INDX of stream " + std::to_string(h.stream) + " without MDPR");
      return false;
    }
    if (h.nextIndexHeader != 0 && h.nextIndexHeader != offset + extent) {
      error.Set(ErrorCode::kBadChain, offset + 16, "INDX.next_index_header");
      return false;
    }
    chain.push_back({offset, h});
    offset = h.nextIndexHeader;
  }
  return true;
}

struct IndexRecordCheck::Cursor {
  static constexpr std::uint32_t kWindow = 64;  // records read per call

  std::uint16_t stream = 0;
  std::uint64_t nextFileOffset = 0;  // of the next record not yet in the window
  std::uint32_t leftInFile = 0;      // records not yet read into the window
  std::uint8_t window[kWindow * kIndexRecordSize];
  std::uint32_t inWindow = 0;
  std::uint32_t used = 0;
  IndexRecord current;
  std::uint64_t currentFileOffset = 0;
};

IndexRecordCheck::IndexRecordCheck(Source& source, const std::vector<IndexChunkInfo>& chain,
                                   Error& error, bool tolerateMismatch)
    : source_(&source), error_(&error), tolerate_(tolerateMismatch) {
  for (const IndexChunkInfo& info : chain) {
    auto cursor = std::make_unique<Cursor>();
    cursor->stream = info.header.stream;
    cursor->nextFileOffset = info.offset + kIndexHeaderSize;
    cursor->leftInFile = info.header.numIndices;
    cursors_.push_back(std::move(cursor));
  }
  for (std::size_t i = 0; i < cursors_.size(); ++i) {
    if (Advance(*cursors_[i])) Push(i);
  }
}

IndexRecordCheck::~IndexRecordCheck() = default;

bool IndexRecordCheck::Advance(Cursor& c) {
  if (!error_->Ok()) return false;
  if (c.used == c.inWindow) {
    if (c.leftInFile == 0) return false;
    const std::uint32_t n = std::min(c.leftInFile, Cursor::kWindow);
    if (!ReadExact(*source_, c.nextFileOffset, std::span(c.window, n * kIndexRecordSize), *error_,
                   "INDX records")) {
      return false;
    }
    c.currentFileOffset = c.nextFileOffset;
    c.nextFileOffset += std::uint64_t{n} * kIndexRecordSize;
    c.leftInFile -= n;
    c.inWindow = n;
    c.used = 0;
  } else {
    c.currentFileOffset += kIndexRecordSize;
  }
  ByteCursor in(std::span(c.window + c.used * kIndexRecordSize, kIndexRecordSize),
                c.currentFileOffset, *error_, "INDX record");
  c.current = ParseIndexRecord(in);
  ++c.used;
  if (c.current.version != 0) {
    Refuse(ErrorCode::kBadField, c.currentFileOffset, "INDX record version");
    return false;
  }
  return true;
}

void IndexRecordCheck::Refuse(ErrorCode code, std::uint64_t offset, std::string what) {
  if (!tolerate_) {
    error_->Set(code, offset, std::move(what));
    return;
  }
  mismatch_ = true;
  heap_.clear();
}

void IndexRecordCheck::Push(std::size_t cursorIndex) {
  heap_.push_back(cursorIndex);
  std::push_heap(heap_.begin(), heap_.end(), [this](std::size_t a, std::size_t b) {
    return cursors_[a]->current.offset > cursors_[b]->current.offset;
  });
}

void IndexRecordCheck::Pop() {
  std::pop_heap(heap_.begin(), heap_.end(), [this](std::size_t a, std::size_t b) {
    return cursors_[a]->current.offset > cursors_[b]->current.offset;
  });
  heap_.pop_back();
}

std::uint32_t IndexRecordCheck::OnPacket(std::uint64_t offset, std::uint64_t ordinal,
                                         std::uint16_t stream) {
  std::uint32_t named = 0;
  while (!heap_.empty() && error_->Ok()) {
    const std::size_t top = heap_.front();
    Cursor& c = *cursors_[top];
    if (c.current.offset > offset) break;
    if (c.current.offset < offset) {
      Refuse(ErrorCode::kBadIndex, c.currentFileOffset,
             "record offset " + std::to_string(c.current.offset) + " is not a packet start");
      break;
    }
    if (c.stream != stream) {
      Refuse(ErrorCode::kBadIndex, c.currentFileOffset,
             "record of stream " + std::to_string(c.stream) + " names a packet of stream " +
                 std::to_string(stream));
      break;
    }
    if (c.current.packetNumber != ordinal) {
      Refuse(ErrorCode::kBadIndex, c.currentFileOffset,
             "packet_number " + std::to_string(c.current.packetNumber) + ", packet is number " +
                 std::to_string(ordinal));
      break;
    }
    ++named;
    Pop();
    if (Advance(c)) Push(top);
  }
  return named;
}

void IndexRecordCheck::Finish() {
  if (heap_.empty() || !error_->Ok()) return;
  const Cursor& c = *cursors_[heap_.front()];
  Refuse(ErrorCode::kBadIndex, c.currentFileOffset,
         "record offset " + std::to_string(c.current.offset) + " is not a packet start");
}

}  // namespace rm
