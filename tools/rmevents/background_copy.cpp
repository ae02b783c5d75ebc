#include "background_copy.h"

#include <utility>

namespace rmevents {

BackgroundCopy::BackgroundCopy(CopyFunction copy)
    : copy_(std::move(copy)), thread_([this] { Work(); }) {}

BackgroundCopy::~BackgroundCopy() { (void)Stop(); }

void BackgroundCopy::Add(const Job& job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(job);
  }
  wake_.notify_one();
}

unsigned long BackgroundCopy::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
  return failure_;
}

void BackgroundCopy::Work() {
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      job = jobs_.front();
      jobs_.pop_front();
    }
    if (failure_ == 0) failure_ = copy_(job);
  }
}

}  // namespace rmevents
