#include "startup/busy_pointer.h"

#include <windows.h>

namespace startup {

BusyPointer::BusyPointer() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

BusyPointer::~BusyPointer() { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }

}  // namespace startup
