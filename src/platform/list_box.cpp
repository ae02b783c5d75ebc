#include "platform/list_box.h"

namespace platform {

std::wstring ListEntryText(HWND list, int index) {
  // LB_ERR (-1) for an entry that does not exist.
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

std::vector<std::wstring> ListEntries(HWND list) {
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  std::vector<std::wstring> entries;
  if (count <= 0) return entries;
  entries.reserve(static_cast<size_t>(count));
  for (LRESULT i = 0; i < count; ++i) entries.push_back(ListEntryText(list, static_cast<int>(i)));
  return entries;
}

}  // namespace platform
