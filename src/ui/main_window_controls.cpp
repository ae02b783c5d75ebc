#include "ui/main_window_controls.h"

#include <string>

#include <commctrl.h>

#include "ui/resource_ids.h"

namespace ui {
namespace {

DWORD StyleOf(ControlKind kind) {
  const DWORD common = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  switch (kind) {
    case ControlKind::kListBox:
      // Not sorted: the order is whoever adds the entries decides. No integral height, so the
      // list keeps its given height whatever the font's line height.
      return common | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    case ControlKind::kCheckBox:
      return common | BS_AUTOCHECKBOX;
    case ControlKind::kLabel:
      // SS_NOTIFY: the form hears of clicks, and a tool tip sees the mouse over the label.
      return WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOTIFY;
    case ControlKind::kTextBox:
      return common | ES_READONLY | ES_AUTOHSCROLL;
    case ControlKind::kMultiLineTextBox:
      return common | ES_READONLY | ES_MULTILINE | ES_AUTOVSCROLL;
    case ControlKind::kImage:
      // The icon takes the control's size instead of the control taking the icon's.
      return WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL;
    case ControlKind::kPushButton:
      break;
  }
  return common | BS_PUSHBUTTON;
}

const wchar_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kListBox:
      return L"ListBox";
    case ControlKind::kLabel:
    case ControlKind::kImage:
      return L"Static";
    case ControlKind::kTextBox:
    case ControlKind::kMultiLineTextBox:
      return L"Edit";
    case ControlKind::kPushButton:
    case ControlKind::kCheckBox:
      break;
  }
  return L"Button";
}

DWORD ExStyleOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kListBox:
    case ControlKind::kTextBox:
    case ControlKind::kMultiLineTextBox:
      return WS_EX_CLIENTEDGE;
    default:
      return 0;
  }
}

// The tool's identity for the tool tip: the control itself, which the tool tip subclasses to see
// the mouse. The version 2 size is the one every comctl32 from 4.70 on accepts; the program does
// not ask for Common Controls 6.
TTTOOLINFOW ToolFor(HWND form, HWND control) {
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = form;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  return tool;
}

}  // namespace

bool RegisterFormClass(HINSTANCE instance, const wchar_t* className, WNDPROC windowProc,
                       bool withIcon) {
  WNDCLASSEXW windowClass = {};
  if (GetClassInfoExW(instance, className, &windowClass)) return true;
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = className;
  if (withIcon) {
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(QUELLIN_ICON_ID));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(QUELLIN_ICON_ID),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  return RegisterClassExW(&windowClass) != 0;
}

UniqueFont CreateMessageFont(const std::function<void(LOGFONTW&)>& change) {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return {};
  if (change) change(metrics.lfMessageFont);
  return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

HWND CreateControl(HWND form, const ControlLayout& layout, int dpi, HFONT font) {
  const PixelRect at = TwipsToPixels(layout.rect, dpi);
  const std::wstring caption(layout.caption);
  HWND control = CreateWindowExW(
      ExStyleOf(layout.kind), ClassOf(layout.kind), caption.c_str(), StyleOf(layout.kind), at.left,
      at.top, at.width, at.height, form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form, GWLP_HINSTANCE)), nullptr);
  if (control == nullptr) return nullptr;
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (layout.kind == ControlKind::kCheckBox) {
    SendMessageW(control, BM_SETCHECK, layout.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return control;
}

HWND CreateToolTip(HWND form, HWND control) {
  HWND toolTip = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form, GWLP_HINSTANCE)), nullptr);
  if (toolTip == nullptr) return nullptr;
  TTTOOLINFOW tool = ToolFor(form, control);
  wchar_t noText[] = L"";
  tool.lpszText = noText;
  if (!SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    DestroyWindow(toolTip);
    return nullptr;
  }
  return toolTip;
}

void SetToolTipText(HWND toolTip, HWND form, HWND control, std::wstring_view text) {
  if (toolTip == nullptr) return;
  std::wstring copy(text);  // the message takes a writable pointer; the tool tip copies the text
  TTTOOLINFOW tool = ToolFor(form, control);
  tool.lpszText = copy.data();
  SendMessageW(toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace ui
