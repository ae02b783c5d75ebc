#include "list_steps.h"

#include <commctrl.h>

#include "target_window.h"

namespace gui {
namespace {

POINT EntryInClient(HWND list, int index) {
  const LRESULT height = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  RECT client = {};
  GetClientRect(list, &client);
  return {client.right / 2, static_cast<LONG>((index - top) * height + height / 2)};
}

LPARAM At(POINT point) { return MAKELPARAM(point.x, point.y); }

bool Post(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageW(list, message, wParam, lParam) && WaitForPostedMessages(list);
}

}  // namespace

POINT EntryOnScreen(HWND list, int index) {
  POINT point = EntryInClient(list, index);
  ClientToScreen(list, &point);
  return point;
}

bool DragOverEntries(HWND list, int from, const std::vector<int>& over, WPARAM buttons) {
  const LPARAM start = At(EntryInClient(list, from));
  bool taken = true;
  if (buttons & MK_LBUTTON) taken = taken && Post(list, WM_LBUTTONDOWN, MK_LBUTTON, start);
  if (buttons & MK_RBUTTON) taken = taken && Post(list, WM_RBUTTONDOWN, buttons, start);
  for (const int index : over) {
    taken = taken && Post(list, WM_MOUSEMOVE, buttons, At(EntryInClient(list, index)));
  }
  const LPARAM end = At(EntryInClient(list, over.empty() ? from : over.back()));
  if (buttons & MK_RBUTTON) taken = taken && Post(list, WM_RBUTTONUP, buttons & ~MK_RBUTTON, end);
  if (buttons & MK_LBUTTON) taken = taken && Post(list, WM_LBUTTONUP, 0, end);
  return taken;
}

bool ClickEntry(HWND list, int index) { return DragOverEntries(list, index, {}, MK_LBUTTON); }

bool PressKey(HWND list, UINT key, UINT modifier) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  const LPARAM modifierScan = static_cast<LPARAM>(MapVirtualKeyW(modifier, MAPVK_VK_TO_VSC)) << 16;
  const LPARAM up = static_cast<LPARAM>(0xC0000000u);
  return (modifier == 0 || Post(list, WM_KEYDOWN, modifier, modifierScan | 1)) &&
         Post(list, WM_KEYDOWN, key, scan | 1) && Post(list, WM_KEYUP, key, scan | 1 | up) &&
         (modifier == 0 || Post(list, WM_KEYUP, modifier, modifierScan | 1 | up));
}

std::wstring ToolTipTextOf(HWND window, HWND list) {
  HWND toolTip = nullptr;
  while ((toolTip = FindWindowExW(nullptr, toolTip, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
    if (GetWindow(toolTip, GW_OWNER) == window) break;
  }
  if (toolTip == nullptr) return L"<no tool tip>";
  // TTM_GETTEXTW writes into the tool tip's own process: the record and the text buffer are placed
  // there and read back.
  constexpr size_t kChars = 2048;
  struct Block {
    TTTOOLINFOW tool;
    wchar_t text[kChars];
  };
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               ProcessOf(toolTip));
  if (process == nullptr) return L"<unreadable>";
  auto* remote = static_cast<Block*>(
      VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  std::wstring text = L"<unreadable>";
  Block block = {};
  block.tool.cbSize = TTTOOLINFOW_V2_SIZE;
  block.tool.hwnd = window;
  block.tool.uId = reinterpret_cast<UINT_PTR>(list);
  block.tool.lpszText = remote != nullptr ? remote->text : nullptr;
  SIZE_T done = 0;
  if (remote != nullptr && WriteProcessMemory(process, remote, &block, sizeof(block), &done)) {
    SendMessageW(toolTip, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(&remote->tool));
    if (ReadProcessMemory(process, remote, &block, sizeof(block), &done)) {
      block.text[kChars - 1] = L'\0';
      text = block.text;
    }
  }
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return text;
}

}  // namespace gui
