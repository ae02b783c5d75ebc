// Handling the user-interface thread's window events, shared by the main window's loop and by the
// waits that must keep that window responsive.
#pragma once

#include <functional>

#include <windows.h>

namespace platform {

// Handles one message taken from the queue. A message for a window whose top-level window has
// WS_EX_CONTROLPARENT (or is a dialog) first goes through IsDialogMessageW there, so Tab and the
// arrow keys move between its controls as in a dialog; every other message is translated and
// dispatched.
void DispatchMessageOf(MSG& msg);

// Handles every message waiting in the calling thread's queue, sent messages included. Returns
// false when it met WM_QUIT: the quit message is posted again (with its exit code) so that the
// thread's own loop still sees it, and the messages behind it are left in the queue.
[[nodiscard]] bool PumpPendingMessages();

// Waits until `object` is signalled (a process ends, a mutex is acquired) while the calling
// thread's messages are handled at once as they arrive; the thread never blocks for more than
// about 100 ms at a stretch. After a WM_QUIT (left in the queue for the caller's loop) it still
// waits, handling only the messages that come before the quit. True once the object is signalled
// or, for a mutex, acquired (abandoned counts: its holder ended without releasing it); false when
// the handle cannot be waited on.
// With a tick, its call also runs every `everyMs` milliseconds while the wait lasts (the first
// after one interval), on this thread; the object is still looked at without delay between them.
struct WaitTick {
  DWORD everyMs = 0;
  std::function<void()> call;  // must not throw
};
[[nodiscard]] bool WaitPumping(HANDLE object, const WaitTick& tick = {});

// The same wait, given up as soon as `stop` (an event) is signalled, or a handler run by the wait
// signals it: a run that the user stops leaves its wait within one message.
enum class WaitEnd { kSignalled, kStopped, kFailed };
[[nodiscard]] WaitEnd WaitPumpingUnless(HANDLE object, HANDLE stop, const WaitTick& tick = {});

}  // namespace platform
