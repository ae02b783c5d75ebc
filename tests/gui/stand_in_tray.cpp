#include "stand_in_tray.h"

#include <cstddef>

#include <shellapi.h>

namespace gui {
namespace {

constexpr wchar_t kTrayClass[] = L"Shell_TrayWnd";

// The leading fields of the platform-independent form in which Wine's shell32 sends a
// NOTIFYICONDATAW (the icon's bits and further fields follow; only these are read).
struct WineNotifyData {
  LONG window;
  UINT id;
  UINT flags;
  UINT callbackMessage;
  WCHAR tip[128];
};

// The tip with its line breaks as tabs, so that each call prints on one line.
std::wstring TipText(const WCHAR* text) {
  std::wstring tip;
  for (size_t i = 0; i < 128 && text[i] != L'\0'; ++i) tip += text[i] == L'\n' ? L'\t' : text[i];
  return tip;
}

}  // namespace

StandInTray::StandInTray() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kTrayClass;
  RegisterClassW(&windowClass);
  // Top-most, so a search of the top-level windows meets it before any other of its class.
  window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0,
                            nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window_ != nullptr)
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

StandInTray::~StandInTray() {
  if (window_ != nullptr) DestroyWindow(window_);
}

bool StandInTray::Pump(HANDLE process, DWORD ms) {
  const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, ms, QS_ALLINPUT);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  return woken == WAIT_OBJECT_0;
}

std::vector<std::wstring> StandInTray::Calls(DWORD pid) const {
  std::vector<std::wstring> lines;
  for (const Call& call : calls_) {
    if (call.pid == pid) lines.push_back(call.line);
  }
  return lines;
}

bool StandInTray::LatestIcon(DWORD pid, HWND& owner, UINT& callbackMessage) const {
  for (auto call = calls_.rbegin(); call != calls_.rend(); ++call) {
    if (call->pid == pid && call->line.rfind(L"add ", 0) == 0) {
      owner = call->owner;
      callbackMessage = call->callbackMessage;
      return true;
    }
  }
  return false;
}

LRESULT CALLBACK StandInTray::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* tray = reinterpret_cast<StandInTray*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message != WM_COPYDATA || tray == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (copy->cbData < sizeof(WineNotifyData)) return FALSE;
  const auto* data = static_cast<const WineNotifyData*>(copy->lpData);
  DWORD pid = 0;
  GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<LONG_PTR>(data->window)), &pid);
  std::wstring line;
  switch (copy->dwData) {
    case NIM_ADD:
      line = std::wstring(L"add icon=") + ((data->flags & NIF_ICON) != 0 ? L"1 " : L"0 ") +
             TipText(data->tip);
      break;
    case NIM_MODIFY:
      line = L"modify " + TipText(data->tip);
      break;
    case NIM_DELETE:
      line = L"delete";
      break;
    default:
      line = L"message " + std::to_wstring(copy->dwData);
  }
  tray->calls_.push_back({pid, line, reinterpret_cast<HWND>(static_cast<LONG_PTR>(data->window)),
                          data->callbackMessage});
  return TRUE;
}

}  // namespace gui
