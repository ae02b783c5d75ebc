// The INDX chain: locating it, and checking each record against the packets it names while the
// data is walked. Records are read straight from the file through one small window per INDX
// chunk, so memory does not grow with the size of the index.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rm/error.h"
#include "rm/indx.h"
#include "rm/source.h"

namespace rm {

// Tolerant reading accepts what known writers get wrong (FFmpeg's DATA size, the INDX size
// quirk); strict reading is for files this tool wrote, where every derived field must be exact.
enum class Strictness { kTolerant, kStrict };

inline constexpr std::size_t kMaxIndexChunks = 1024;

struct IndexChunkInfo {
  std::uint64_t offset = 0;
  IndexHeader header;
};

// What a repairing read of the chain accepted instead of refusing the file.
struct IndexChainDamage {
  // A link or a chunk's records reach past the end of the file, as in a film whose download
  // stopped there; the chain holds the chunks before it.
  bool runsOffEnd = false;
  // A chunk's num_indices disagrees with its size (records missing or extra); its records were
  // taken by the size, and the index cannot be trusted.
  bool countsWrong = false;

  bool Any() const { return runsOffEnd || countsWrong; }
};

// Follows the chain from `first`: each link must name an INDX of a known stream that lies wholly
// inside the file, and the next one must start right where this one ends (which also rules out
// loops). With `damage`, the two faults it describes are noted there instead of refused.
[[nodiscard]] bool ReadIndexChain(Source& source, std::uint64_t first,
                                  const std::vector<bool>& knownStreams, Strictness strictness,
                                  std::vector<IndexChunkInfo>& chain, Error& error,
                                  IndexChainDamage* damage = nullptr);

// Matches index records to packets. Each INDX chunk's records must be in file order and each must
// name the header offset and ordinal of a packet of its own stream. A tolerant check notes the
// first record that does not instead of recording an error, and stops checking.
class IndexRecordCheck {
 public:
  IndexRecordCheck(Source& source, const std::vector<IndexChunkInfo>& chain, Error& error,
                   bool tolerateMismatch = false);
  ~IndexRecordCheck();
  // Every packet of the data section, in file order. Returns how many records name it.
  std::uint32_t OnPacket(std::uint64_t offset, std::uint64_t ordinal, std::uint16_t stream);
  // After the last packet: a record left over points past every packet.
  void Finish();
  bool Mismatch() const { return mismatch_; }

 private:
  struct Cursor;
  bool Advance(Cursor& cursor);
  void Push(std::size_t cursorIndex);
  void Pop();

  void Refuse(ErrorCode code, std::uint64_t offset, std::string what);

  Source* source_;
  Error* error_;
  bool tolerate_;
  bool mismatch_ = false;
  std::vector<std::unique_ptr<Cursor>> cursors_;
  std::vector<std::size_t> heap_;  // cursor indices, smallest next record offset on top
};

}  // namespace rm
