// Copies ranges of the input into the output on a second thread, so the system copies one part of
// a film while the walk reads the next: the passes over the bytes overlap instead of adding up.
// Jobs name their own offsets, so they need no order among themselves or with other writes.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace rmevents {

class BackgroundCopy {
 public:
  struct Job {
    std::intptr_t from = 0;  // the input's handle
    std::uint64_t fromOffset = 0, toOffset = 0, size = 0;
  };
  // Carries out one job: 0, or the system's error code.
  using CopyFunction = std::function<unsigned long(const Job&)>;

  explicit BackgroundCopy(CopyFunction copy);
  ~BackgroundCopy();
  BackgroundCopy(const BackgroundCopy&) = delete;
  BackgroundCopy& operator=(const BackgroundCopy&) = delete;

  void Add(const Job& job);
  // Waits for every job; the first error, or 0. Jobs after a failure are dropped.
  unsigned long Stop();

 private:
  void Work();

  CopyFunction copy_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stopping_ = false;
  unsigned long failure_ = 0;  // written by the worker, read once it has been joined
  std::thread thread_;
};

}  // namespace rmevents
