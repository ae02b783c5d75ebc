#include "platform/message_pump.h"

#include <cwchar>

namespace platform {
namespace {

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

}  // namespace platform
