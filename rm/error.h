// What went wrong while reading or writing a RealMedia file. The reader keeps only the first
// failure: everything after it is usually a consequence, and the first one is what a user (or a
// test) needs to see.
#pragma once

#include <cstdint>
#include <string>

namespace rm {

enum class ErrorCode {
  kNone,
  kReadFailed,       // the operating system refused a read
  kWriteFailed,      // the operating system refused a write
  kTruncated,        // the file ends inside a chunk or packet
  kNotRealMedia,     // no .RMF chunk at the start
  kOverrun,          // a size or field runs past the chunk (or file) that holds it
  kBadField,         // a field holds a value the format does not allow
  kBadPacket,        // a packet header that cannot be right
  kBadChain,         // a DATA or INDX link that points at the wrong place
  kBadIndex,         // an index record that does not point at its packet
  kBadStreamNumber,  // a stream number that is unknown, repeated or out of range
  kMissingChunk,     // PROP or DATA is missing
  kTooLarge,         // absurd counts or sizes
  kOutputTooLarge,   // the written file would pass 4 GiB, which 32-bit offsets cannot address
  kUnsupported,      // a legal but unusual layout this tool does not rewrite
  kNoStreamsLeft,    // removing the events would leave a file without streams
  kVerifyFailed,     // the written file did not read back as expected
};

struct Error {
  ErrorCode code = ErrorCode::kNone;
  std::uint64_t offset = 0;  // absolute file offset where the problem was found
  std::string what;          // the chunk or field concerned, e.g. "DATA.num_packets"

  [[nodiscard]] bool Ok() const { return code == ErrorCode::kNone; }
  // Records a failure unless one is already recorded.
  void Set(ErrorCode newCode, std::uint64_t atOffset, std::string context);
};

// One sentence in simplified Chinese (UTF-8) for the report, offset included.
std::string Describe(const Error& error);

// True when the failure lies on the output side (writing, size of the written file).
bool IsOutputError(const Error& error);

}  // namespace rm
