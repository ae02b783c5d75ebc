#include "rm/block_writer.h"

#include <algorithm>

namespace rm {

BlockWriter::BlockWriter(Sink& sink, Error& error, OutputCheck* check, std::size_t capacity)
    : sink_(&sink), error_(&error), check_(check), capacity_(capacity) {}

void BlockWriter::CopyPackets(Source& from, std::uint64_t fromOffset,
                              std::span<const std::uint8_t> bytes) {
  if (!error_->Ok() || bytes.empty()) return;
  Flush();
  if (!error_->Ok()) return;
  if (check_ != nullptr) check_->Append(bytes, false);
  const std::uint64_t copied = sink_->CopyRange(from, fromOffset, flushed_, bytes.size());
  Landed(flushed_, copied);
  flushed_ += copied;
  const auto rest = bytes.subspan(static_cast<std::size_t>(copied));
  if (!rest.empty() && !sink_->WriteAt(flushed_, rest)) {
    error_->Set(ErrorCode::kWriteFailed, flushed_, "write");
    return;
  }
  Landed(flushed_, rest.size());
  flushed_ += rest.size();
}

void BlockWriter::Write(std::span<const std::uint8_t> data) {
  if (!error_->Ok() || data.empty()) return;
  if (check_ != nullptr) check_->Append(data);
  if (buffer_.size() + data.size() <= capacity_) {
    buffer_.insert(buffer_.end(), data.begin(), data.end());
    return;
  }
  Flush();
  if (data.size() >= capacity_ / 2) {
    if (!sink_->WriteAt(flushed_, data)) {
      error_->Set(ErrorCode::kWriteFailed, flushed_, "write");
      return;
    }
    Landed(flushed_, data.size());
    flushed_ += data.size();
    return;
  }
  buffer_.insert(buffer_.end(), data.begin(), data.end());
}

void BlockWriter::Patch(std::uint64_t offset, std::span<const std::uint8_t> data) {
  if (!error_->Ok()) return;
  if (offset + data.size() > Position()) {
    error_->Set(ErrorCode::kWriteFailed, offset, "patch past the written end");
    return;
  }
  if (check_ != nullptr) check_->Patch(offset, data);
  // The part that has reached the sink is rewritten there, the rest in the buffer.
  std::size_t inSink = 0;
  if (offset < flushed_) {
    inSink = static_cast<std::size_t>(std::min<std::uint64_t>(data.size(), flushed_ - offset));
    if (!sink_->WriteAt(offset, data.first(inSink))) {
      error_->Set(ErrorCode::kWriteFailed, offset, "patch");
      return;
    }
    Landed(offset, inSink);
  }
  for (std::size_t i = inSink; i < data.size(); ++i) {
    buffer_[static_cast<std::size_t>(offset + i - flushed_)] = data[i];
  }
}

void BlockWriter::Flush() {
  if (!error_->Ok() || buffer_.empty()) return;
  if (!sink_->WriteAt(flushed_, buffer_)) {
    error_->Set(ErrorCode::kWriteFailed, flushed_, "write");
    return;
  }
  Landed(flushed_, buffer_.size());
  flushed_ += buffer_.size();
  buffer_.clear();
}

void BlockWriter::Landed(std::uint64_t offset, std::uint64_t size) {
  if (check_ != nullptr) check_->Written(offset, size);
}

}  // namespace rm
