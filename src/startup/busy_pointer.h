// The busy (hourglass) mouse pointer for the length of a scope: shown when constructed, the
// default arrow restored when destroyed, so every return path restores it.
#pragma once

namespace startup {

class BusyPointer {
 public:
  BusyPointer();
  ~BusyPointer();
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace startup
