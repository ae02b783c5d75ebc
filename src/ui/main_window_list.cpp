// The file list L's own handlers: drag reordering with the left button, the Delete key, drops of
// files and folders from the shell, and the click that puts the selected path into the tool tip.
#include "ui/main_window.h"

#include <string>

#include "files/add_items.h"
#include "files/item_merge.h"
#include "platform/common_controls.h"
#include "platform/list_box.h"
#include "ui/file_drop_target.h"

namespace ui {
namespace {

constexpr UINT_PTR kListSubclassId = 1;

// The mouse buttons as the handlers count them: 1 left, 2 right, 4 middle, added up.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

int ButtonsHeld(WPARAM keys) {
  return ((keys & MK_LBUTTON) != 0 ? kLeftButton : 0) |
         ((keys & MK_RBUTTON) != 0 ? kRightButton : 0) |
         ((keys & MK_MBUTTON) != 0 ? kMiddleButton : 0);
}

int ButtonPressed(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return kLeftButton;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return kRightButton;
    default:
      return kMiddleButton;
  }
}

int EntryCount(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }

int ListIndex(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

// A list box has no message that replaces an entry's text: the entry is taken out and put back,
// and the selection and the scroll position are kept as they were.
void SetEntryText(HWND list, int index, const std::wstring& text) {
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

void MainWindow::AttachListHandlers() {
  // Neither is fatal: without them the list still lists, selects and scrolls. Without OLE (it
  // failed to start) the list simply takes no drops.
  platform::SetWindowSubclass(list_, ListProc, kListSubclassId, reinterpret_cast<DWORD_PTR>(this));
  static_cast<void>(RegisterFileDrop(list_, [this](IDataObject* data) { L_OLEDragDrop(data); }));
}

LRESULT CALLBACK MainWindow::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self) {
  auto* window = reinterpret_cast<MainWindow*>(self);
  try {
    switch (message) {
      case WM_KEYDOWN:
        // Before the list sees the key, as a key-down handler runs.
        window->L_KeyDown(static_cast<int>(wParam));
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDOWN:
      case WM_MBUTTONDBLCLK: {
        // The list first selects the entry under the pointer.
        const LRESULT result = platform::DefSubclassProc(list, message, wParam, lParam);
        window->L_MouseDown(ButtonPressed(message));
        return result;
      }
      case WM_MOUSEMOVE: {
        // The list first moves its selection to the entry under the pointer.
        const LRESULT result = platform::DefSubclassProc(list, message, wParam, lParam);
        window->L_MouseMove(ButtonsHeld(wParam));
        return result;
      }
      case WM_NCDESTROY:
        platform::RemoveWindowSubclass(list, ListProc, kListSubclassId);
        break;
      default:
        break;
    }
  } catch (...) {
    // A handler that ran out of memory has done nothing further; the list goes on.
  }
  return platform::DefSubclassProc(list, message, wParam, lParam);
}

void MainWindow::L_MouseDown(int button) {
  if (button == kLeftButton) dragIndex_ = ListIndex(list_);
}

void MainWindow::L_MouseMove(int buttons) {
  if (buttons != kLeftButton) return;
  const int listIndex = ListIndex(list_);
  if (listIndex == dragIndex_) return;
  const int count = EntryCount(list_);
  if (listIndex < 0 || dragIndex_ < 0 || listIndex >= count || dragIndex_ >= count) return;
  // The dragged entry and the one now under the pointer trade places; the selection stays on the
  // dragged entry.
  const std::wstring kept = platform::ListEntryText(list_, listIndex);
  SetEntryText(list_, listIndex, platform::ListEntryText(list_, dragIndex_));
  SetEntryText(list_, dragIndex_, kept);
  dragIndex_ = listIndex;
}

void MainWindow::L_OLEDragDrop(IDataObject* data) {
  const auto paths = DroppedPaths(data);
  if (!paths || paths->empty()) return;
  // Files and folders go in as the shell names them: nothing is scanned or tested. A failure of
  // the list is not reported; a drop shows no messages.
  static_cast<void>(files::AddItems(files::JoinBatch(*paths, files::kBatchSeparator), list_, true,
                                    files::kBatchSeparator, -1));
  if (EntryCount(list_) > 0) SelectEntry(0);
}

void MainWindow::L_Click() {
  const int selected = ListIndex(list_);
  SetListToolTip(selected >= 0 ? platform::ListEntryText(list_, selected) : std::wstring());
}

void MainWindow::L_KeyDown(int keyCode) {
  if (keyCode != VK_DELETE) return;
  // The first selected entry goes; its successor, or the new last entry, is selected.
  const int count = EntryCount(list_);
  for (int i = 0; i < count; ++i) {
    if (SendMessageW(list_, LB_GETSEL, static_cast<WPARAM>(i), 0) <= 0) continue;
    SendMessageW(list_, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
    if (i == EntryCount(list_)) --i;
    // An emptied list has nothing left to select.
    if (i >= 0) SelectEntry(i);
    return;
  }
}

void MainWindow::SelectEntry(int index) {
  SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // Selecting in code counts as a click, as the user's own selection does.
  L_Click();
}

}  // namespace ui
