#include "target_window.h"

#include "ui/main_window_ids.h"

namespace gui {

HWND FindMainWindow(DWORD pid) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, ui::kMainWindowClass, nullptr)) != nullptr) {
    if (pid == 0 || ProcessOf(window) == pid) return window;
  }
  return nullptr;
}

HWND WaitForMainWindow(DWORD pid, bool visible, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    HWND window = FindMainWindow(pid);
    if (window != nullptr && (!visible || IsWindowVisible(window))) return window;
    if (GetTickCount64() >= deadline) return nullptr;
    Sleep(20);
  }
}

bool WaitForPostedMessages(HWND list, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  const auto extent = [&]() -> LRESULT {
    const ULONGLONG now = GetTickCount64();
    DWORD_PTR value = 0;
    if (now >= deadline || SendMessageTimeoutW(list, LB_GETHORIZONTALEXTENT, 0, 0, SMTO_NORMAL,
                                               static_cast<UINT>(deadline - now), &value) == 0) {
      return -1;
    }
    return static_cast<LRESULT>(value);
  };
  // One thread takes its posted messages in the order they came, so a marker posted behind them
  // is handled after them. The marker gives the list a new horizontal extent, which the program
  // never uses (the list has no horizontal scroll bar).
  const LRESULT marker = extent() == 1 ? 2 : 1;
  if (!PostMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(marker), 0)) return false;
  for (;;) {
    const LRESULT now = extent();
    if (now == marker) return true;
    if (now < 0) return false;
    Sleep(5);
  }
}

std::vector<HWND> ChildrenInTabOrder(HWND window) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

int ControlId(HWND control) { return GetDlgCtrlID(control); }

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

std::wstring TextOf(HWND window) {
  // WM_GETTEXT crosses processes as UTF-16 when sent as the W message.
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

}  // namespace gui
