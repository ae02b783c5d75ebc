// A mutex shared by name between processes. Ownership belongs to the thread that acquired it, so
// one object is acquired and released on one thread.
#pragma once

#include <string>

#include <windows.h>

#include "platform/unique_handle.h"

namespace platform {

class NamedMutex {
 public:
  // Opens the mutex of that name, creating it when no process has it yet; not yet acquired.
  explicit NamedMutex(const std::wstring& name);
  ~NamedMutex();
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  [[nodiscard]] bool IsOpen() const { return static_cast<bool>(handle_); }
  [[nodiscard]] bool IsHeld() const { return held_; }

  // Each of these acquires the mutex; one left by a holder that ended without releasing it
  // (crashed, killed) is taken over at once. False when the mutex could not be opened or waited
  // on, or, for TryAcquire, is held by someone else.
  [[nodiscard]] bool TryAcquire();
  [[nodiscard]] bool Acquire();
  // The calling thread's window keeps handling its events while it waits (only when it must
  // wait: a free mutex is taken at once). With `stop`, an event, the wait is given up (false) as
  // soon as it is signalled.
  [[nodiscard]] bool AcquirePumping(HANDLE stop = nullptr);

  void Release();

 private:
  bool Took(DWORD waitResult);

  UniqueHandle handle_;
  bool held_ = false;
};

}  // namespace platform
