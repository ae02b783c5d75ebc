// The application-wide mouse pointer: busy (the hourglass) during long steps, the default arrow
// otherwise. Windows ask IsBusyPointerShown when the pointer passes over them, so the hourglass
// stays while the scan lets window messages through.
#pragma once

namespace platform {

void ShowBusyPointer();
void ShowDefaultPointer();
[[nodiscard]] bool IsBusyPointerShown();

// The busy pointer for the length of a scope; the default arrow when the scope ends, on every
// return path.
class BusyPointerScope {
 public:
  BusyPointerScope() { ShowBusyPointer(); }
  ~BusyPointerScope() { ShowDefaultPointer(); }
  BusyPointerScope(const BusyPointerScope&) = delete;
  BusyPointerScope& operator=(const BusyPointerScope&) = delete;
};

}  // namespace platform
