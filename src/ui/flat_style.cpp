#include "ui/flat_style.h"

#include <vector>

namespace ui {
namespace {

// Which button-class controls count as "buttons" for the flat look: push buttons, option (radio)
// buttons and check boxes. Group boxes and owner-drawn buttons are not among them.
bool TakesFlatStyle(HWND control) {
  wchar_t className[16] = {};
  if (GetClassNameW(control, className, 16) == 0 || lstrcmpiW(className, L"Button") != 0) {
    return false;
  }
  switch (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

}  // namespace

void SetFlatStyle(HWND hWnd, bool flat) {
  LONG_PTR style = GetWindowLongPtrW(hWnd, GWL_STYLE);
  if (flat) style |= BS_FLAT;
  SetWindowLongPtrW(hWnd, GWL_STYLE, style);
}

void FlattenControls(HWND form) {
  // The control list is taken once, before any style changes.
  std::vector<HWND> children;
  EnumChildWindows(form, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    // Only the form's own controls, not the insides of a combo box or another container.
    if (GetParent(child) == form && TakesFlatStyle(child)) SetFlatStyle(child, true);
  }
  RedrawWindow(form, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace ui
