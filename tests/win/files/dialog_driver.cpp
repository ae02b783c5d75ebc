#include "dialog_driver.h"

#include <cwchar>
#include <utility>

namespace testing_win {
namespace {

struct Search {
  HWND previous;
  HWND found;
};

BOOL CALLBACK TakeDialog(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (window != search->previous && std::wcscmp(className, L"#32770") == 0 &&
      IsWindowVisible(window) && IsWindowEnabled(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

void PressOpen(HWND dialog) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

}  // namespace

DialogDriver::DialogDriver(std::function<void(DWORD guiThread)> script)
    : thread_(
          [guiThread = GetCurrentThreadId(), script = std::move(script)] { script(guiThread); }) {}

DialogDriver::~DialogDriver() {
  if (thread_.joinable()) thread_.join();
}

HWND WaitForDialog(DWORD guiThread, HWND previous, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  do {
    Search search{previous, nullptr};
    EnumThreadWindows(guiThread, TakeDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      // A dialog shows once its controls are filled; an answer to a sent message means its own
      // loop has started taking input.
      const ULONGLONG now = GetTickCount64();
      const UINT left = now < deadline ? static_cast<UINT>(deadline - now) : 1;
      DWORD_PTR ignored = 0;
      if (SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, left, &ignored) == 0) {
        return nullptr;
      }
      return search.found;
    }
    Sleep(20);
  } while (GetTickCount64() < deadline);
  return nullptr;
}

bool WaitUntilClosed(HWND dialog, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
  return true;
}

void EnterFileName(HWND dialog, const std::wstring& text) {
  SetWindowTextW(GetDlgItem(dialog, kFileNameBox), text.c_str());
  PressOpen(dialog);
}

bool PickInFolder(HWND dialog, const std::wstring& folder, const std::wstring& names) {
  // The folder's Open is sent, not posted: the names typed next must not reach the box before the
  // dialog has read the folder from it, and a message sent to another thread is handled before
  // anything posted to it. The dialog reads the ComboBoxEx's own text, which its edit control
  // does not show, so the box's edit cannot tell whether the folder was taken.
  SetWindowTextW(GetDlgItem(dialog, kFileNameBox), folder.c_str());
  DWORD_PTR ignored = 0;
  if (SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                          reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)), SMTO_NORMAL, 10000,
                          &ignored) == 0) {
    return false;
  }
  EnterFileName(dialog, names);
  return true;
}

void Press(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::wstring ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  wchar_t text[4096] = {};
  GetWindowTextW(control, text, 4096);
  return text;
}

std::wstring MessageBoxText(HWND box) {
  // Wine and Windows give the text's static control different ids; the icon's static has no
  // text, so the longest static text is the message.
  std::wstring longest;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Static") != 0) continue;
    wchar_t text[4096] = {};
    GetWindowTextW(child, text, 4096);
    if (std::wcslen(text) > longest.size()) longest = text;
  }
  return longest;
}

int DefaultButton(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Button") == 0 &&
        (GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      return GetDlgCtrlID(child);
    }
  }
  return 0;
}

}  // namespace testing_win
