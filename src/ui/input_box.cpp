#include "ui/input_box.h"

#include <cstdint>
#include <vector>

#include "platform/screen_dpi.h"
#include "platform/user_message.h"
#include "ui/main_window_controls.h"
#include "ui/twips.h"

namespace ui {
namespace {

// Builds a dialog template in memory: the box needs no resource script.
class DialogTemplate {
 public:
  void Header(DWORD style, short cx, short cy, int items, std::wstring_view title, WORD pointSize,
              std::wstring_view face) {
    Dword(style);
    Dword(0);  // extended style
    Word(static_cast<WORD>(items));
    Word(0);  // x and y: the box is placed when it opens
    Word(0);
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(0);  // no menu
    Word(0);  // the standard dialog class
    Text(title);
    Word(pointSize);
    Text(face);
  }

  // `classAtom`: 0x80 button, 0x81 edit, 0x82 static.
  void Item(DWORD style, short x, short y, short cx, short cy, int id, WORD classAtom,
            std::wstring_view text) {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    for (const short value : {x, y, cx, cy}) Word(static_cast<WORD>(value));
    Word(static_cast<WORD>(id));
    Word(0xFFFF);
    Word(classAtom);
    Text(text);
    Word(0);  // no creation data
  }

  // DialogBoxIndirect wants DWORD alignment; the vector's storage is aligned for any scalar.
  [[nodiscard]] const DLGTEMPLATE* Get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
  }

 private:
  void Word(WORD value) {
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  void Dword(DWORD value) {
    Word(static_cast<WORD>(value & 0xFFFF));
    Word(static_cast<WORD>(value >> 16));
  }
  void Text(std::wstring_view text) {
    for (const wchar_t c : text) Word(static_cast<WORD>(c));
    Word(0);
  }

  std::vector<std::uint8_t> bytes_;
};

struct Request {
  std::wstring defaultText;
  std::optional<TwipsPoint> position;
  std::wstring answer;
};

void PlaceBox(HWND box, const std::optional<TwipsPoint>& position) {
  RECT frame = {};
  GetWindowRect(box, &frame);
  int left = 0;
  int top = 0;
  if (position) {
    const int dpi = platform::SystemDpi();
    left = TwipsToPixels(position->left, dpi);
    top = TwipsToPixels(position->top, dpi);
  } else {
    left = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
  }
  SetWindowPos(box, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring EditText(HWND box) {
  HWND edit = GetDlgItem(box, kIdInputBoxEdit);
  const int length = GetWindowTextLengthW(edit);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), length + 1)));
  return text;
}

INT_PTR CALLBACK InputBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_INITDIALOG: {
        auto* request = reinterpret_cast<Request*>(lParam);
        SetWindowLongPtrW(box, DWLP_USER, lParam);
        HWND edit = GetDlgItem(box, kIdInputBoxEdit);
        SetWindowTextW(edit, request->defaultText.c_str());
        SendMessageW(edit, EM_SETSEL, 0, -1);
        PlaceBox(box, request->position);
        SetFocus(edit);
        return FALSE;  // the focus is set
      }
      case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id != IDOK && id != IDCANCEL) break;
        auto* request = reinterpret_cast<Request*>(GetWindowLongPtrW(box, DWLP_USER));
        if (id == IDOK && request != nullptr) request->answer = EditText(box);
        EndDialog(box, id);
        return TRUE;
      }
      default:
        break;
    }
  } catch (...) {
    // Out of memory while reading the answer: the box closes as if cancelled.
    EndDialog(box, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

std::wstring InputBox(HWND owner, std::wstring_view prompt, std::wstring_view title,
                      std::wstring_view defaultText, std::optional<TwipsPoint> position) {
  // The system's message font, as the main window and message boxes use it.
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  std::wstring face = L"MS Shell Dlg";
  int pointSize = 9;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    face = metrics.lfMessageFont.lfFaceName;
    const int height = metrics.lfMessageFont.lfHeight;
    if (height != 0) pointSize = MulDiv(height < 0 ? -height : height, 72, platform::SystemDpi());
  }

  // Prompt at the top left, OK and Cancel beside it, the answer along the bottom, in dialog
  // units of that font.
  DialogTemplate dialog;
  dialog.Header(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 262, 88, 4,
                title.empty() ? std::wstring_view(platform::kApplicationTitle) : title,
                static_cast<WORD>(pointSize), face);
  dialog.Item(SS_LEFT | SS_NOPREFIX, 7, 7, 190, 52, kIdInputBoxPrompt, 0x82, prompt);
  dialog.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 205, 7, 50, 14, IDOK, 0x80, L"确定");
  dialog.Item(BS_PUSHBUTTON | WS_TABSTOP, 205, 25, 50, 14, IDCANCEL, 0x80, L"取消");
  dialog.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 66, 248, 13, kIdInputBoxEdit, 0x81, L"");

  Request request{std::wstring(defaultText), position, {}};
  const INT_PTR closedBy =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, InputBoxProc,
                              reinterpret_cast<LPARAM>(&request));
  return closedBy == IDOK ? request.answer : std::wstring();
}

}  // namespace ui
