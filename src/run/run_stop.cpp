#include "run/run_stop.h"

namespace run {

RunStop::RunStop() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void RunStop::Request() noexcept {
  if (running_ && event_) SetEvent(event_.Get());
}

void RunStop::EndNow() noexcept {
  if (!running_) return;
  Request();
  if (endNow_) {
    // Once only: the run's own end, when its wait returns, finds the work done.
    const std::function<void()> endNow = std::move(endNow_);
    endNow_ = nullptr;
    try {
      endNow();
    } catch (...) {
      // Out of memory: the batch was ended first; the report may be missing its section.
    }
  }
}

bool RunStop::Requested() const {
  return event_ && WaitForSingleObject(event_.Get(), 0) == WAIT_OBJECT_0;
}

void RunStop::Begin() {
  if (event_) ResetEvent(event_.Get());
  running_ = true;
}

void RunStop::Finish() {
  running_ = false;
  endNow_ = nullptr;
}

}  // namespace run
