// How a run is stopped from outside it: the window's close, the end of the Windows session, the
// notification icon's "停止清除". The run is further up the stack of the one thread, inside its
// wait, when any of these arrives; so a stop is a signal its wait watches, and only the end of the
// session, after which Windows may end the program at any moment, ends the run on the spot.
#pragma once

#include <functional>

#include <windows.h>

#include "platform/unique_handle.h"

namespace run {

class RunStop {
 public:
  RunStop();
  ~RunStop() = default;
  RunStop(const RunStop&) = delete;
  RunStop& operator=(const RunStop&) = delete;

  // For the window: whether a run is under way, and the two ways to stop it. Request returns at
  // once and the run ends as stopped when its wait next looks; EndNow returns once the run has
  // ended as stopped (its batch gone, its films judged and reported). Both do nothing between
  // runs.
  [[nodiscard]] bool Running() const { return running_; }
  void Request() noexcept;
  void EndNow() noexcept;
  [[nodiscard]] bool Requested() const;

  // For the run: the event its waits watch, and what EndNow calls while the batch goes.
  [[nodiscard]] HANDLE Event() const { return event_.Get(); }
  void Begin();
  void SetEndNow(std::function<void()> endNow) { endNow_ = std::move(endNow); }
  void Finish();

 private:
  platform::UniqueHandle event_;
  bool running_ = false;
  std::function<void()> endNow_;
};

}  // namespace run
