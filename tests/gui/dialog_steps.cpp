#include "dialog_steps.h"

#include <cwchar>

#include "target_window.h"
#include "ui/input_box.h"

namespace gui {
namespace {

// The file name box of the Explorer-style open dialog: a ComboBoxEx32 (cmb13).
constexpr int kFileNameBox = 0x47c;

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK TakeDialog(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  if (ProcessOf(window) == search->pid && ClassOf(window) == L"#32770" && IsWindowVisible(window) &&
      IsWindowEnabled(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

void EnterFileName(HWND dialog, const std::wstring& text) {
  SetWindowTextW(GetDlgItem(dialog, kFileNameBox), text.c_str());
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

std::wstring LongestStatic(HWND dialog) {
  std::wstring longest;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (_wcsicmp(ClassOf(child).c_str(), L"Static") != 0) continue;
    const std::wstring text = TextOf(child);
    if (text.size() > longest.size()) longest = text;
  }
  return longest;
}

int DefaultButton(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (_wcsicmp(ClassOf(child).c_str(), L"Button") != 0) continue;
    if ((GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      return GetDlgCtrlID(child);
    }
  }
  return 0;
}

}  // namespace

HWND WaitForDialog(DWORD pid, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  do {
    Search search{pid, nullptr};
    EnumWindows(TakeDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      // A dialog that has just opened is still filling its controls.
      Sleep(200);
      return search.found;
    }
    Sleep(20);
  } while (GetTickCount64() < deadline);
  return nullptr;
}

bool PickFiles(DWORD pid, const std::wstring& folder, const std::wstring& names) {
  HWND dialog = WaitForDialog(pid, 10);
  if (dialog == nullptr || GetDlgItem(dialog, kFileNameBox) == nullptr) return false;
  EnterFileName(dialog, folder);
  Sleep(300);
  EnterFileName(dialog, names);
  for (int wait = 0; wait < 250 && IsWindow(dialog) && IsWindowVisible(dialog); ++wait) Sleep(20);
  return !IsWindow(dialog) || !IsWindowVisible(dialog);
}

std::wstring DescribeDialog(DWORD pid, double seconds) {
  HWND dialog = WaitForDialog(pid, seconds);
  if (dialog == nullptr) return L"none\n";
  std::wstring text = L"caption=" + TextOf(dialog) + L"\n";
  if (HWND edit = GetDlgItem(dialog, ui::kIdInputBoxEdit)) {
    RECT frame = {};
    GetWindowRect(dialog, &frame);
    text += L"prompt=" + TextOf(GetDlgItem(dialog, ui::kIdInputBoxPrompt)) + L"\n";
    text += L"edit=" + TextOf(edit) + L"\n";
    text += L"at=" + std::to_wstring(frame.left) + L"," + std::to_wstring(frame.top) + L"\n";
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    text += L"screen=" + std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L"," +
            std::to_wstring(GetSystemMetrics(SM_CYSCREEN)) + L"," + std::to_wstring(dpi) + L"\n";
  } else {
    text += L"text=" + LongestStatic(dialog) + L"\n";
  }
  text += L"default=" + std::to_wstring(DefaultButton(dialog)) + L"\n";
  return text;
}

bool PressInDialog(DWORD pid, int id) {
  HWND dialog = WaitForDialog(pid, 10);
  if (dialog == nullptr || GetDlgItem(dialog, id) == nullptr) return false;
  PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
  return true;
}

bool AnswerInputBox(DWORD pid, const std::wstring& text) {
  HWND dialog = WaitForDialog(pid, 10);
  if (dialog == nullptr || GetDlgItem(dialog, ui::kIdInputBoxEdit) == nullptr) return false;
  SetWindowTextW(GetDlgItem(dialog, ui::kIdInputBoxEdit), text.c_str());
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  return true;
}

}  // namespace gui
