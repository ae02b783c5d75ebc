#include "platform/named_mutex.h"

#include "platform/message_pump.h"

namespace platform {

NamedMutex::NamedMutex(const std::wstring& name)
    : handle_(CreateMutexW(nullptr, FALSE, name.c_str())) {}

NamedMutex::~NamedMutex() { Release(); }

bool NamedMutex::Took(DWORD waitResult) {
  held_ = held_ || waitResult == WAIT_OBJECT_0 || waitResult == WAIT_ABANDONED;
  return held_;
}

bool NamedMutex::TryAcquire() {
  if (held_) return true;
  return handle_ && Took(WaitForSingleObject(handle_.Get(), 0));
}

bool NamedMutex::Acquire() {
  if (held_) return true;
  return handle_ && Took(WaitForSingleObject(handle_.Get(), INFINITE));
}

bool NamedMutex::AcquirePumping(HANDLE stop) {
  // A free mutex is taken without a look at the queue: the caller's handlers run only when there
  // is something to wait for.
  if (TryAcquire()) return true;
  if (!handle_) return false;
  return Took(WaitPumpingUnless(handle_.Get(), stop) == WaitEnd::kSignalled ? WAIT_OBJECT_0
                                                                            : WAIT_FAILED);
}

void NamedMutex::Release() {
  if (!held_) return;
  ReleaseMutex(handle_.Get());
  held_ = false;
}

}  // namespace platform
