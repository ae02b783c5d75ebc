#include "rm/source.h"

#include <algorithm>
#include <cstring>

namespace rm {

bool ReadExact(Source& source, std::uint64_t offset, std::span<std::uint8_t> buffer, Error& error,
               const std::string& what) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    std::size_t got = 0;
    if (!source.ReadSome(offset + done, buffer.data() + done, buffer.size() - done, got)) {
      error.Set(ErrorCode::kReadFailed, offset + done, what);
      return false;
    }
    if (got == 0) {
      error.Set(ErrorCode::kTruncated, offset + done, what);
      return false;
    }
    done += got;
  }
  return true;
}

bool MemorySource::ReadSome(std::uint64_t offset, std::uint8_t* buffer, std::size_t size,
                            std::size_t& got) {
  got = 0;
  if (offset >= data_.size()) return true;
  got = static_cast<std::size_t>(std::min<std::uint64_t>(size, data_.size() - offset));
  std::memcpy(buffer, data_.data() + offset, got);
  return true;
}

bool MemorySink::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
  const std::uint64_t end = offset + data.size();
  if (end > data_.size()) data_.resize(static_cast<std::size_t>(end));
  std::copy(data.begin(), data.end(), data_.begin() + static_cast<std::ptrdiff_t>(offset));
  return true;
}

}  // namespace rm
