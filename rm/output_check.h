// Checks a file while it is written, so that it never has to be read back: the bytes handed to
// the writer are parsed by the strict reader's rules (chunk sizes and links, every packet header,
// counts, PROP's derived fields, every index record naming a packet of its stream with the right
// ordinal), and a digest of the payloads written, in their order, is compared with that of the
// payloads read (payload_digest.h). Packets the system copies without passing them through this
// process are seen by their headers only. The writer also tells where each write reached the
// file, and those offsets must follow the bytes the check parsed, so a write landing anywhere
// else (a gap, an overlap, a patch outside the header it names) fails it. Memory stays flat: the
// header section, one header per DATA and INDX chunk, and a sum over the index records instead
// of a table of packets.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "rm/byte_order.h"
#include "rm/error.h"
#include "rm/headers.h"
#include "rm/inspect.h"
#include "rm/payload_digest.h"

namespace rm {

// Where the writer took the records of an index from.
enum class IndexSource { kTranslated, kRebuilt, kAdded };

class OutputCheck {
 public:
  // Bytes appended to the file. `payloadSeen` false: `bytes` are packets the system copies; only
  // their headers are looked at.
  void Append(std::span<const std::uint8_t> bytes, bool payloadSeen = true);
  // Bytes written over earlier ones (chunk headers whose counts were known only later).
  void Patch(std::uint64_t offset, std::span<const std::uint8_t> bytes);
  // `size` bytes reached the file at `offset`: the next appended bytes in order, or bytes of the
  // last Patch.
  void Written(std::uint64_t offset, std::uint64_t size);
  // The packet that will start at `offset` is named by `count` records of an index of `source`.
  void ExpectIndexed(std::uint64_t offset, IndexSource source, std::uint32_t count = 1);
  // Takes back an announcement that was passed already: the packet at `offset`, number `ordinal`
  // of `stream`, gets no record after all. (Wrong values leave the sums apart.)
  void WithdrawIndexed(std::uint64_t offset, std::uint64_t ordinal, std::uint16_t stream,
                       IndexSource source);
  // Which index the writer chose. An index translated from one found only after the packets
  // (nobody pointed at it) cannot have been announced: its records are held to the data's bounds.
  void UseIndex(IndexSource source, bool announced = true);
  // The payload of a packet read from the input that passes through this process; in the order
  // the packets are written.
  void NoteReadPayload(std::span<const std::uint8_t> payload);

  OutputCheck() = default;
  // For tests: the digests with `kernel`.
  explicit OutputCheck(PayloadDigest::Kernel kernel) : written_(kernel), read_(kernel) {}

  // After the last byte: the whole file's verdict, and what it holds.
  [[nodiscard]] bool Finish(FileSummary& summary, Error& error);

 private:
  enum class Phase {
    kHeader,
    kDataHeader,
    kPackets,
    kBetweenData,
    kAfterData,
    kIndexHeader,
    kRecords,
    kBetweenIndex,
    kTail
  };
  struct ChunkHead {
    std::uint64_t offset = 0;
    Bytes bytes;  // the chunk's fixed header, patches applied
  };
  struct Mark {
    std::uint64_t offset = 0;
    IndexSource source = IndexSource::kTranslated;
    std::uint32_t count = 0;
  };

  bool Fail(std::uint64_t offset, std::string what);
  // Collects up to `size` bytes of a fixed-size piece; true once it is whole.
  bool Collect(std::span<const std::uint8_t>& in, std::size_t size);
  void TakeHeaderBytes(std::span<const std::uint8_t>& in);
  // At the end of a chunk: on to the chunk its link names, or past the chain.
  void Follow(const ChunkHead& chunk, std::size_t linkAt, Phase next, Phase end, const char* what);
  void StartPacket();
  void EndPacket();
  void EndDataChunk();
  bool ParseHeaderSection(Headers& headers);

  bool ok_ = true;
  Error error_;
  Phase phase_ = Phase::kHeader;
  std::uint64_t pos_ = 0;  // bytes appended so far
  Bytes pending_;          // the fixed-size piece being collected

  Bytes headerSection_;
  std::uint64_t nextChunkAt_ = 0;
  std::vector<bool> known_;   // by stream number
  std::vector<bool> events_;  // by stream number: an event stream

  std::vector<ChunkHead> data_;
  std::uint64_t chunkEnd_ = 0;  // 0 while the chunk's size is still to be patched in
  std::uint32_t chunkPackets_ = 0;
  std::uint64_t packetStart_ = 0;
  std::uint16_t packetStream_ = 0;
  std::uint64_t payloadLeft_ = 0;
  bool payloadSeen_ = true;  // of the bytes being appended
  bool packetSeen_ = true;   // of the packet being appended
  Bytes eventPayload_;

  std::vector<ChunkHead> index_;
  std::uint32_t recordsLeft_ = 0;
  std::uint64_t lastRecordOffset_ = 0;
  std::uint64_t recordSum_ = 0;

  std::deque<Mark> marks_;
  std::uint64_t markSums_[3] = {};
  IndexSource chosen_ = IndexSource::kTranslated;
  bool announced_ = true;

  std::vector<StreamSummary> tallies_;  // by stream number
  std::vector<FoundEvent> foundEvents_;
  std::uint64_t packets_ = 0;
  std::uint64_t totalPayload_ = 0;
  std::uint64_t maxPayload_ = 0;
  PayloadDigest written_, read_;

  std::uint64_t landed_ = 0;                  // bytes that reached the file in order
  std::uint64_t patchAt_ = 0, patchEnd_ = 0;  // the last Patch
};

}  // namespace rm
