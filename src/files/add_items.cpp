#include "files/add_items.h"

#include <new>
#include <utility>

#include "files/item_merge.h"
#include "files/user_locale_case.h"
#include "platform/error_text.h"
#include "platform/list_box.h"
#include "platform/screen_pointer.h"
#include "platform/user_message.h"

namespace files {
namespace {

// Redrawing the list once at the end instead of after each of thousands of entries.
class RedrawPaused {
 public:
  explicit RedrawPaused(HWND list) : list_(list) { SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }
  ~RedrawPaused() {
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }
  RedrawPaused(const RedrawPaused&) = delete;
  RedrawPaused& operator=(const RedrawPaused&) = delete;

 private:
  HWND list_;
};

}  // namespace

std::wstring AddItems(std::wstring items, HWND list, bool keepExisting, wchar_t separator,
                      int selectIndex) {
  if (items.empty()) return {};
  const std::vector<std::wstring> merged = MergeItems(
      items, separator, keepExisting ? platform::ListEntries(list) : std::vector<std::wstring>(),
      keepExisting, LowerCaseUserLocale);

  {
    RedrawPaused paused(list);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    size_t characters = 0;
    for (const std::wstring& entry : merged) characters += entry.size() + 1;
    SendMessageW(list, LB_INITSTORAGE, merged.size(), characters * sizeof(wchar_t));
    for (const std::wstring& entry : merged) {
      const LRESULT added = SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(entry.c_str()));
      if (added == LB_ERR || added == LB_ERRSPACE) {
        return platform::ErrorText(ERROR_NOT_ENOUGH_MEMORY);
      }
    }
  }
  if (selectIndex >= 0 && !merged.empty()) {
    if (SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selectIndex), 0) == LB_ERR) {
      return platform::ErrorText(ERROR_INVALID_INDEX);
    }
  }
  return {};
}

bool AddFilesToList(HWND list, const std::wstring& folder, std::wstring patterns,
                    InputBoxFunction inputBox) {
  std::wstring failure;
  bool merged = false;
  try {
    std::wstring batch = ListFilesFromFolder(folder, std::move(patterns), true, inputBox);
    merged = !batch.empty();
    failure = AddItems(std::move(batch), list, true, kBatchSeparator, 0);
  } catch (const std::bad_alloc&) {
    failure = platform::ErrorText(ERROR_NOT_ENOUGH_MEMORY);
  } catch (...) {
    failure = platform::ErrorText(ERROR_GEN_FAILURE);
  }
  if (!failure.empty()) platform::ShowUserMessage(failure, MB_OK | MB_ICONERROR);
  platform::ShowDefaultPointer();
  return merged;
}

}  // namespace files
