#include "rm/index_chain.h"

#include <algorithm>

#include "rm/byte_cursor.h"

namespace rm {

bool ReadIndexChain(Source& source, std::uint64_t first, const std::vector<bool>& knownStreams,
                    Strictness strictness, std::vector<IndexChunkInfo>& chain, Error& error) {
  chain.clear();
  for (std::uint64_t offset = first; offset != 0;) {
    if (chain.size() == kMaxIndexChunks) {
      error.Set(ErrorCode::kTooLarge, offset, "number of INDX chunks");
      return false;
    }
    if (offset > source.Size() || source.Size() - offset < kIndexHeaderSize) {
      error.Set(ErrorCode::kBadChain, offset, "INDX link past the end of the file");
      return false;
    }
    std::uint8_t bytes[kIndexHeaderSize];
    if (!ReadExact(source, offset, bytes, error, "INDX")) return false;
    ByteCursor in(bytes, offset, error, "INDX");
    const IndexHeader h = ParseIndexHeader(in);
    if (!in.Ok()) return false;
    const std::uint64_t extent = h.Extent();
    if (extent > source.Size() - offset) {
      error.Set(ErrorCode::kOverrun, offset, "INDX.num_indices");
      return false;
    }
    // FFmpeg's reader notes writers that leave the size at 20 although records follow.
    const bool sizeOk =
        h.size == extent || (strictness == Strictness::kTolerant && h.size == kIndexHeaderSize);
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
                                   Error& error)
    : source_(&source), error_(&error) {
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
    error_->Set(ErrorCode::kBadField, c.currentFileOffset, "INDX record version");
    return false;
  }
  return true;
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

void IndexRecordCheck::OnPacket(std::uint64_t offset, std::uint64_t ordinal, std::uint16_t stream) {
  while (!heap_.empty() && error_->Ok()) {
    const std::size_t top = heap_.front();
    Cursor& c = *cursors_[top];
    if (c.current.offset > offset) return;
    if (c.current.offset < offset) {
      error_->Set(ErrorCode::kBadIndex, c.currentFileOffset,
                  "record offset " + std::to_string(c.current.offset) + " is not a packet start");
      return;
    }
    if (c.stream != stream) {
      error_->Set(ErrorCode::kBadIndex, c.currentFileOffset,
                  "record of stream " + std::to_string(c.stream) + " names a packet of stream " +
                      std::to_string(stream));
      return;
    }
    if (c.current.packetNumber != ordinal) {
      error_->Set(ErrorCode::kBadIndex, c.currentFileOffset,
                  "packet_number " + std::to_string(c.current.packetNumber) +
                      ", packet is number " + std::to_string(ordinal));
      return;
    }
    Pop();
    if (Advance(c)) Push(top);
  }
}

void IndexRecordCheck::Finish() {
  if (heap_.empty() || !error_->Ok()) return;
  const Cursor& c = *cursors_[heap_.front()];
  error_->Set(ErrorCode::kBadIndex, c.currentFileOffset,
              "record offset " + std::to_string(c.current.offset) + " is not a packet start");
}

}  // namespace rm
