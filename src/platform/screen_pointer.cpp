#include "platform/screen_pointer.h"

#include <windows.h>

namespace platform {
namespace {

// Only the user-interface thread changes or reads it.
bool busyShown = false;

}  // namespace

void ShowBusyPointer() {
  busyShown = true;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void ShowDefaultPointer() {
  busyShown = false;
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

bool IsBusyPointerShown() { return busyShown; }

}  // namespace platform
