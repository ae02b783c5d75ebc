#include "describe.h"

#include <string_view>
#include <vector>

#include <commctrl.h>

#include "target_window.h"

namespace gui {
namespace {

std::wstring Flag(std::wstring_view name, bool on) {
  return std::wstring(name) + (on ? L"=1" : L"=0");
}

std::wstring ButtonKind(LONG_PTR style) {
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
      return L"push";
    case BS_DEFPUSHBUTTON:
      return L"defpush";
    case BS_CHECKBOX:
      return L"checkbox";
    case BS_AUTOCHECKBOX:
      return L"autocheckbox";
    default:
      return L"type" + std::to_wstring(style & BS_TYPEMASK);
  }
}

std::wstring DescribeControl(HWND control) {
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  const std::wstring className = ClassOf(control);
  std::wstring line = std::to_wstring(ControlId(control)) + L" " + className + L" \"" +
                      TextOf(control) + L"\" " + std::to_wstring(rect.left) + L"," +
                      std::to_wstring(rect.top) + L" " + std::to_wstring(rect.right - rect.left) +
                      L"x" + std::to_wstring(rect.bottom - rect.top);
  line += L" " + Flag(L"tabstop", (style & WS_TABSTOP) != 0);
  line += L" " + Flag(L"visible", IsWindowVisible(control) != FALSE);
  line += L" " + Flag(L"flat", (style & BS_FLAT) != 0);
  if (lstrcmpiW(className.c_str(), L"Button") == 0) {
    line += L" " + ButtonKind(style);
    const LRESULT check = SendMessageW(control, BM_GETCHECK, 0, 0);
    if ((style & BS_TYPEMASK) != BS_PUSHBUTTON) line += L" " + Flag(L"checked", check != 0);
  } else if (lstrcmpiW(className.c_str(), L"Edit") == 0) {
    line += L" " + Flag(L"readonly", (style & ES_READONLY) != 0);
    line += L" " + Flag(L"multiline", (style & ES_MULTILINE) != 0);
  } else if (lstrcmpiW(className.c_str(), L"Static") == 0) {
    line += L" " + Flag(L"icon", (style & SS_TYPEMASK) == SS_ICON);
    line += L" " + Flag(L"notify", (style & SS_NOTIFY) != 0);
  } else if (lstrcmpiW(className.c_str(), L"ListBox") == 0) {
    line += L" " + Flag(L"notify", (style & LBS_NOTIFY) != 0);
    line += L" " + Flag(L"sorted", (style & LBS_SORT) != 0);
    // A single-selection list answers LB_GETSELCOUNT with LB_ERR; a multiple one with a count.
    line += L" " + Flag(L"single", SendMessageW(control, LB_GETSELCOUNT, 0, 0) == LB_ERR &&
                                       (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) == 0);
  }
  return line;
}

// TTM_ENUMTOOLSW fills a record in the tool tip's own process: the record is placed there, and
// read back afterwards.
std::wstring DescribeTool(HWND toolTip, int index) {
  const DWORD pid = ProcessOf(toolTip);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return L"unreadable";
  std::wstring text = L"unreadable";
  void* remote = VirtualAllocEx(process, nullptr, sizeof(TTTOOLINFOW), MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE);
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  SIZE_T done = 0;
  if (remote != nullptr && WriteProcessMemory(process, remote, &tool, sizeof(tool), &done) &&
      SendMessageW(toolTip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(remote)) &&
      ReadProcessMemory(process, remote, &tool, sizeof(tool), &done)) {
    HWND control = (tool.uFlags & TTF_IDISHWND) != 0 ? reinterpret_cast<HWND>(tool.uId) : nullptr;
    text = L"tool=" + (control != nullptr ? std::to_wstring(ControlId(control)) : L"none");
    text += L" " + Flag(L"idishwnd", (tool.uFlags & TTF_IDISHWND) != 0);
    text += L" " + Flag(L"subclass", (tool.uFlags & TTF_SUBCLASS) != 0);
  }
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return text;
}

}  // namespace

std::wstring DescribeWindow(HWND window) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  RECT client = {};
  GetClientRect(window, &client);
  std::wstring text = L"caption=" + TextOf(window) + L"\n";
  text +=
      L"client=" + std::to_wstring(client.right) + L"x" + std::to_wstring(client.bottom) + L"\n";
  text += Flag(L"caption-bar", (style & WS_CAPTION) == WS_CAPTION) + L"\n";
  text += Flag(L"sizing-border", (style & WS_THICKFRAME) != 0) + L"\n";
  text += Flag(L"sysmenu", (style & WS_SYSMENU) != 0) + L"\n";
  text += Flag(L"minimize-box", (style & WS_MINIMIZEBOX) != 0) + L"\n";
  text += Flag(L"maximize-box", (style & WS_MAXIMIZEBOX) != 0) + L"\n";
  text += Flag(L"controlparent", (exStyle & WS_EX_CONTROLPARENT) != 0) + L"\n";
  text += Flag(L"owned", GetWindow(window, GW_OWNER) != nullptr) + L"\n";
  return text;
}

std::wstring DescribeGeometry(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top) + L" " +
         std::to_wstring(rect.right - rect.left) + L" " + std::to_wstring(rect.bottom - rect.top) +
         L"\n";
}

std::wstring DescribeControls(HWND window) {
  std::wstring text;
  for (HWND control : ChildrenInTabOrder(window)) text += DescribeControl(control) + L"\n";
  return text;
}

std::wstring DescribeToolTips(HWND window) {
  std::wstring text;
  HWND toolTip = nullptr;
  while ((toolTip = FindWindowExW(nullptr, toolTip, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
    if (GetWindow(toolTip, GW_OWNER) != window) continue;
    const LRESULT count = SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) text += DescribeTool(toolTip, i) + L"\n";
  }
  return text.empty() ? L"none\n" : text;
}

}  // namespace gui
