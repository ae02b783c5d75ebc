#include "about_steps.h"

#include <cstdlib>

#include "describe.h"
#include "list_steps.h"
#include "output.h"
#include "target_window.h"
#include "ui/about_window_ids.h"
#include "ui/main_window_ids.h"

namespace gui {
namespace {

constexpr wchar_t kInputNotTaken[] = L"the program did not take the posted input within 10 s";

HWND FindAboutWindow(DWORD pid) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, ui::kAboutWindowClass, nullptr)) != nullptr) {
    if ((pid == 0 || ProcessOf(window) == pid) && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

HWND WaitFor(auto find, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    if (HWND window = find()) return window;
    if (GetTickCount64() >= deadline) return nullptr;
    Sleep(20);
  }
}

// The main window's file list, which marks how far the program's thread has got (see
// WaitForPostedMessages); the About window belongs to the main window's thread.
HWND MarkerList(HWND about) { return GetDlgItem(GetWindow(about, GW_OWNER), ui::kIdList); }

// "closed" once `window` has gone, "open" when it is still there after the program has handled
// what was posted to it and, in a second round, what its handlers posted in turn.
int PrintWhetherClosed(HWND window, HWND list) {
  for (int round = 0; round < 2 && IsWindow(window); ++round) {
    if (!WaitForPostedMessages(list, 10)) return Fail(kInputNotTaken);
  }
  Print(IsWindow(window) ? L"open\n" : L"closed\n");
  return 0;
}

UINT KeyOf(const std::wstring& name) {
  if (name == L"escape") return VK_ESCAPE;
  if (name == L"tab") return VK_TAB;
  if (name == L"return") return VK_RETURN;
  if (name == L"space") return VK_SPACE;
  if (name == L"a") return 'A';
  return 0;
}

// Posted to the focused control as the system's input would deliver them, for the program's own
// loop to take from the queue.
int PressKey(HWND about, UINT key) {
  HWND focus = FocusOf(about);
  if (focus == nullptr) return Fail(L"nothing has the focus");
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  HWND list = MarkerList(about);
  PostMessageW(focus, WM_KEYDOWN, key, scan | 1);
  if (!WaitForPostedMessages(list, 10)) return Fail(kInputNotTaken);
  PostMessageW(focus, WM_KEYUP, key, scan | 1 | static_cast<LPARAM>(0xC0000000u));
  return PrintWhetherClosed(about, list);
}

bool DoubleClick(HWND control) {
  RECT client = {};
  GetClientRect(control, &client);
  const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
    PostMessageW(control, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
  }
  return WaitForPostedMessages(MarkerList(GetAncestor(control, GA_ROOT)), 10);
}

std::wstring DescribeAboutWindow(HWND about) {
  const LONG_PTR exStyle = GetWindowLongPtrW(about, GWL_EXSTYLE);
  HWND owner = GetWindow(about, GW_OWNER);
  RECT frame = {};
  GetWindowRect(about, &frame);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
  std::wstring text = DescribeWindow(about);
  text += L"toolwindow=" + std::to_wstring((exStyle & WS_EX_TOOLWINDOW) != 0) + L"\n";
  text += L"owner=" + ClassOf(owner) + L"\n";
  text += L"owner-enabled=" + std::to_wstring(IsWindowEnabled(owner) != FALSE) + L"\n";
  text += L"centred=" +
          std::to_wstring(std::abs(frame.left - left) <= 1 && std::abs(frame.top - top) <= 1) +
          L"\n";
  return text;
}

// Whether the image control shows an icon. (Which one cannot be told from here: Wine answers
// another process's class queries with nothing.)
std::wstring IconState(HWND about) {
  const LRESULT shown = SendMessageW(GetDlgItem(about, ui::kIdAboutImg), STM_GETICON, 0, 0);
  return shown != 0 ? L"icon" : L"none";
}

int PressInf(HWND about) {
  PostMessageW(GetDlgItem(about, ui::kIdAboutCommand1), BM_CLICK, 0, 0);
  HWND box = WaitFor(
      [about] {
        for (HWND other = GetTopWindow(nullptr); other != nullptr;
             other = GetWindow(other, GW_HWNDNEXT)) {
          if (GetWindow(other, GW_OWNER) == about && IsWindowVisible(other) &&
              ClassOf(other) != L"tooltips_class32") {
            return other;
          }
        }
        return HWND{};
      },
      10);
  if (box == nullptr) {
    Print(L"none\n");
    return 0;
  }
  Print(TextOf(box) + L"\n");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  PostMessageW(box, WM_CLOSE, 0, 0);
  for (int wait = 0; wait < 500 && IsWindow(box); ++wait) Sleep(20);
  return IsWindow(box) ? Fail(L"the platform's About box is still open after 10 s") : 0;
}

}  // namespace

bool IsAboutStep(const std::wstring& command) { return command.starts_with(L"about-"); }

int AboutStep(DWORD pid, const std::vector<std::wstring>& args) {
  const std::wstring& command = args[0];
  const auto number = [&](size_t index) {
    return index < args.size() ? _wtoi(args[index].c_str()) : 0;
  };
  if (command == L"about-wait") {
    HWND about = WaitFor([pid] { return FindAboutWindow(pid); },
                         args.size() > 1 ? _wtof(args[1].c_str()) : 10);
    if (about == nullptr) return Fail(L"no visible About window");
    Print(std::to_wstring(reinterpret_cast<UINT_PTR>(about)) + L"\n");
    return 0;
  }
  HWND about = FindAboutWindow(pid);
  if (about == nullptr) return Fail(L"no About window");
  HWND control = GetDlgItem(about, number(1));
  if (command == L"about-window") {
    Print(DescribeAboutWindow(about));
  } else if (command == L"about-controls") {
    Print(DescribeControls(about));
  } else if (command == L"about-tooltip") {
    Print(L"[" + ToolTipTextOf(about, control) + L"]\n");
  } else if (command == L"about-geometry") {
    Print(DescribeGeometry(about));
  } else if (command == L"about-icon") {
    Print(IconState(about) + L"\n");
  } else if (command == L"about-focus") {
    HWND focus = FocusOf(about);
    Print((focus == nullptr ? L"none" : std::to_wstring(GetDlgCtrlID(focus))) + L"\n");
  } else if (command == L"about-key") {
    const UINT key = KeyOf(args.size() > 1 ? args[1] : L"");
    return key == 0 ? Fail(L"unknown key") : PressKey(about, key);
  } else if (command == L"about-close") {
    HWND list = MarkerList(about);
    PostMessageW(about, WM_CLOSE, 0, 0);
    return PrintWhetherClosed(about, list);
  } else if (command == L"about-inf") {
    return PressInf(about);
  } else if (control == nullptr) {
    return Fail(L"no such control");
  } else if (command == L"about-dblclick") {
    if (!DoubleClick(control)) return Fail(kInputNotTaken);
  } else if (command == L"about-selection") {
    // The result carries both ends; pointers would not cross into the other process.
    const auto selection = static_cast<DWORD>(SendMessageW(control, EM_GETSEL, 0, 0));
    Print(std::to_wstring(LOWORD(selection)) + L" " + std::to_wstring(HIWORD(selection)) + L"\n");
  } else if (command == L"about-select") {
    SendMessageW(control, EM_SETSEL, number(2), number(3));
  } else if (command == L"about-text") {
    Print(L"[" + TextOf(control) + L"]\n");
  } else if (command == L"about-settext") {
    const std::wstring text = args.size() > 2 ? args[2] : L"";
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  } else {
    return Fail(L"unknown command " + command);
  }
  return 0;
}

}  // namespace gui
