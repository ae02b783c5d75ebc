// Where the library reads and writes bytes. The library never opens files itself: the command-line
// tool supplies file-backed implementations (with wide names on Windows), tests and the fuzzer use
// the in-memory ones below. All offsets are 64-bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "rm/byte_order.h"
#include "rm/error.h"

namespace rm {

class Source {
 public:
  virtual ~Source() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads up to `size` bytes at `offset` into `buffer` and sets `got`; fewer bytes than asked is
  // allowed (the callers loop), 0 means the end. False means the read failed.
  [[nodiscard]] virtual bool ReadSome(std::uint64_t offset, std::uint8_t* buffer, std::size_t size,
                                      std::size_t& got) = 0;
};

class Sink {
 public:
  virtual ~Sink() = default;
  // Writes all of `data` at `offset` (the file grows as needed). False means the write failed.
  [[nodiscard]] virtual bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
  // Copies `size` bytes of `from`, starting at `offset`, to the same offset here without passing
  // them through this process, where the system can (as cp does). Returns how many bytes were
  // copied; the caller copies the rest itself.
  std::uint64_t CopyFrom(Source& from, std::uint64_t offset, std::uint64_t size) {
    return CopyRange(from, offset, offset, size);
  }
  // Whether CopyRange may copy at all: runs are only set aside for it when it can.
  virtual bool CanCopyRange() const { return false; }
  // The same from `fromOffset` there to `toOffset` here.
  virtual std::uint64_t CopyRange(Source& /*from*/, std::uint64_t /*fromOffset*/,
                                  std::uint64_t /*toOffset*/, std::uint64_t /*size*/) {
    return 0;
  }
};

// Fills `buffer` from `offset`, or records kTruncated / kReadFailed naming `what`.
[[nodiscard]] bool ReadExact(Source& source, std::uint64_t offset, std::span<std::uint8_t> buffer,
                             Error& error, const std::string& what);

class MemorySource : public Source {
 public:
  explicit MemorySource(std::span<const std::uint8_t> data) : data_(data) {}
  std::uint64_t Size() const override { return data_.size(); }
  [[nodiscard]] bool ReadSome(std::uint64_t offset, std::uint8_t* buffer, std::size_t size,
                              std::size_t& got) override;

 private:
  std::span<const std::uint8_t> data_;
};

class MemorySink : public Sink {
 public:
  [[nodiscard]] bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override;
  const Bytes& Data() const { return data_; }

 private:
  Bytes data_;
};

}  // namespace rm
