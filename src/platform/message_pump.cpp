#include "platform/message_pump.h"

#include <algorithm>
#include <cwchar>

namespace platform {
namespace {

// The longest stretch the wait blocks without looking at the message queue. Messages wake it at
// once; this only bounds the cases where nothing wakes it (and the quitting wait below).
constexpr DWORD kSliceMs = 100;

bool TakesDialogKeys(HWND topLevel) {
  if ((GetWindowLongPtrW(topLevel, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0) return true;
  wchar_t className[8] = {};
  return GetClassNameW(topLevel, className, 8) > 0 && std::wcscmp(className, L"#32770") == 0;
}

}  // namespace

void DispatchMessageOf(MSG& msg) {
  if (msg.hwnd != nullptr) {
    HWND topLevel = GetAncestor(msg.hwnd, GA_ROOT);
    if (topLevel != nullptr && TakesDialogKeys(topLevel) && IsDialogMessageW(topLevel, &msg)) {
      return;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool PumpPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    DispatchMessageOf(msg);
  }
  return true;
}

WaitEnd WaitPumpingUnless(HANDLE object, HANDLE stop, const WaitTick& tick) {
  const bool ticking = tick.call && tick.everyMs > 0;
  ULONGLONG nextTick = GetTickCount64() + tick.everyMs;
  const HANDLE handles[2] = {object, stop};
  const DWORD count = stop != nullptr ? 2 : 1;
  for (;;) {
    const bool quitting = !PumpPendingMessages();
    if (stop != nullptr && WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) return WaitEnd::kStopped;
    DWORD slice = kSliceMs;
    if (ticking) {
      ULONGLONG now = GetTickCount64();
      if (now >= nextTick) {
        tick.call();
        now = GetTickCount64();
        nextTick = now + tick.everyMs;
      }
      slice = static_cast<DWORD>(std::min<ULONGLONG>(slice, nextTick - now));
    }
    // Once WM_QUIT is pending it counts as input for good, so a message wait would return at once
    // and spin; from then on the wait sleeps on the objects alone, one slice at a time.
    const DWORD result = quitting ? WaitForMultipleObjects(count, handles, FALSE, slice)
                                  : MsgWaitForMultipleObjectsEx(count, handles, slice, QS_ALLINPUT,
                                                                MWMO_INPUTAVAILABLE);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) return WaitEnd::kSignalled;
    // WAIT_OBJECT_0 + count is the message wait's "input is waiting", not a handle.
    if (count == 2 && (result == WAIT_OBJECT_0 + 1 || result == WAIT_ABANDONED_0 + 1)) {
      return WaitEnd::kStopped;
    }
    if (result == WAIT_FAILED) return WaitEnd::kFailed;
  }
}

bool WaitPumping(HANDLE object, const WaitTick& tick) {
  return WaitPumpingUnless(object, nullptr, tick) == WaitEnd::kSignalled;
}

}  // namespace platform
