#include "ui/about_window.h"

#include <optional>
#include <string>
#include <utility>

#include <shellapi.h>

#include "platform/common_controls.h"
#include "platform/message_pump.h"
#include "platform/own_program.h"
#include "platform/system_folders.h"
#include "platform/program_name.h"
#include "platform/screen_dpi.h"
#include "platform/version_record.h"
#include "process/shell_wait.h"
#include "ui/about_contact.h"
#include "ui/about_layout.h"
#include "ui/about_texts.h"
#include "ui/resource_ids.h"

namespace ui {
namespace {

// A fixed tool window: small title bar, close box only, no taskbar button (it is owned, too).
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr int kLinkPoints = 9;
constexpr int kNoteLineTwips = 180;

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

// The program's name as the caption and the platform's About box show it; empty when the
// program's own path cannot be read.
std::wstring ProgramName() { return platform::ProgramName(platform::OwnProgramFile()); }

// Explorer by its full path: by its bare name Windows would look in this program's folder first.
void StartDetached(const std::wstring& commandLine, int showStyle) {
  static_cast<void>(
      process::StartProcess(commandLine, showStyle, platform::WindowsFolderFile(L"explorer.exe")));
}

// The icon of `window`: the one it was given, else its class's.
HICON IconOf(HWND window) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
  return icon;
}

}  // namespace

AboutWindow::AboutWindow()
    : AboutWindow(AboutContacts{kHomePage, kEmail, kPostalAddress, kMessenger}, StartDetached) {}

AboutWindow::AboutWindow(const AboutContacts& contacts, CommandStarter start)
    : contacts_(contacts), start_(std::move(start)) {}

AboutWindow::~AboutWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

AboutWindow::Unloaded AboutWindow::ShowModal(HWND owner) {
  if (hwnd_ != nullptr || !Create(owner)) return Unloaded::kOtherwise;
  unloaded_ = Unloaded::kOtherwise;
  escapePressed_ = false;
  focus_ = nullptr;
  // Loaded before it shows, so the window that is active now is still the one that opened it.
  Form_Load();
  EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  MSG msg;
  while (hwnd_ != nullptr) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the quit goes back in the queue for the loop that owns it.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      Unload(Unloaded::kOtherwise);
      break;
    }
    if (!PreviewKey(msg)) platform::DispatchMessageOf(msg);
  }
  return unloaded_;
}

bool AboutWindow::Create(HWND owner) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  if (!RegisterFormClass(instance, kAboutWindowClass, WindowProc, false)) return false;
  owner_ = owner;
  dpi_ = platform::SystemDpi();
  RECT frame = {0, 0, TwipsToPixels(kAboutClientWidthTwips, dpi_),
                TwipsToPixels(kAboutClientHeightTwips, dpi_)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  // The caption stays empty until the window loads. WM_NCCREATE stores `this` in hwnd_.
  CreateWindowExW(kExStyle, kAboutWindowClass, L"", kStyle, left, top, width, height, owner,
                  nullptr, instance, this);
  if (hwnd_ == nullptr) return false;
  if (!CreateControls(dpi_)) {
    DestroyWindow(hwnd_);
    return false;
  }
  return true;
}

bool AboutWindow::CreateControls(int dpi) {
  font_ = CreateMessageFont();
  linkFont_ = CreateMessageFont([dpi](LOGFONTW& font) {
    font.lfHeight = -MulDiv(kLinkPoints, dpi, 72);
    font.lfUnderline = TRUE;
  });
  for (const ControlLayout& layout : kAboutControls) {
    HFONT font = font_.Get();
    if (layout.id == kIdAboutLabel9) font = linkFont_.Get();
    if (layout.id == kIdAboutLabel11) {
      // Four lines of the note fit its box only with lines 180 twips apart.
      noteFont_ = CreateMessageFont(
          [dpi](LOGFONTW& note) { note.lfHeight = TwipsToPixels(kNoteLineTwips, dpi); });
      font = noteFont_.Get();
    }
    if (layout.id == kIdAboutLabel8) {
      // The rights notice's strip is one small line high: the font's whole cell fits in it.
      smallFont_ = CreateMessageFont(
          [&](LOGFONTW& small) { small.lfHeight = TwipsToPixels(layout.rect.height, dpi); });
      font = smallFont_.Get();
    }
    if (CreateControl(hwnd_, layout, dpi, font) == nullptr) return false;
  }
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  // The program's own icon until the window loads; a load that finds no active window keeps it.
  if (HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(QUELLIN_ICON_ID))) {
    SendMessageW(Control(kIdAboutImg), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
  SetWindowTextW(Control(kIdAboutText1), ContactText(contacts_.email).c_str());
  SetWindowTextW(Control(kIdAboutLabel7), ContactText(contacts_.postalAddress).c_str());
  SetWindowTextW(Control(kIdAboutLabel12),
                 (L"即时通讯：" + ContactText(contacts_.messenger)).c_str());
  // Both text boxes: the double click of the e-mail box, and Tab leaving the description.
  for (int id : {kIdAboutText1, kIdAboutText2}) {
    platform::SetWindowSubclass(Control(id), TextBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  HWND label9 = Control(kIdAboutLabel9);
  SetToolTipText(CreateToolTip(hwnd_, label9), hwnd_, label9, L"访问我的主页");
  return true;
}

void AboutWindow::Form_Load() {
  MessageBeep(MB_OK);
  const std::wstring programName = ProgramName();
  if (!programName.empty()) SetWindowTextW(hwnd_, AboutCaption(programName).c_str());
  if (HWND active = GetActiveWindow()) {
    if (HICON icon = IconOf(active)) {
      SendMessageW(Control(kIdAboutImg), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
  }
  const platform::VersionRecord record = platform::ReadVersionRecord(platform::OwnProgramFile());
  if (record.productName) SetWindowTextW(Control(kIdAboutLabel1), record.productName->c_str());
  if (const auto& version = record.version) {
    SetWindowTextW(Control(kIdAboutLabel2),
                   VersionText(version->major, version->minor, version->revision).c_str());
  }
  if (record.fileDescription) {
    SetWindowTextW(Control(kIdAboutText2), ExpandLineBreaks(*record.fileDescription).c_str());
  }
  SetWindowTextW(Control(kIdAboutLabel9), ContactText(contacts_.homePage).c_str());
  Text1_DblClick();
}

void AboutWindow::Form_KeyUp(int keyCode) {
  if (keyCode == VK_ESCAPE) Unload(Unloaded::kByEscape);
}

void AboutWindow::Command1_Click() {
  const auto icon = reinterpret_cast<HICON>(SendMessageW(Control(kIdAboutImg), STM_GETICON, 0, 0));
  const std::wstring author(kAboutAuthor);
  ShellAboutW(hwnd_, ProgramName().c_str(), author.c_str(), icon);
}

void AboutWindow::Label7_Click() { OpenHomePage(contacts_.homePage); }

void AboutWindow::Label9_Click() {
  // Without a home page the label shows a placeholder, which is no address to open.
  if (!contacts_.homePage.empty()) OpenHomePage(WindowText(Control(kIdAboutLabel9)));
}

// Explorer opens the address in the browser; it starts minimised and nobody waits for it.
void AboutWindow::OpenHomePage(std::wstring_view address) const {
  if (const std::optional<std::wstring> command = HomePageCommand(address)) {
    start_(*command, SW_SHOWMINIMIZED);
  }
}

void AboutWindow::Text1_DblClick() {
  HWND text1 = Control(kIdAboutText1);
  SendMessageW(text1, EM_SETSEL, 0, GetWindowTextLengthW(text1));
}

void AboutWindow::Unload(Unloaded how) {
  if (hwnd_ == nullptr) return;
  unloaded_ = how;
  // The owner comes back before this window goes, so the activation returns to it.
  EnableWindow(owner_, TRUE);
  DestroyWindow(hwnd_);
}

bool AboutWindow::IsOwnWindow(HWND window) const {
  return window != nullptr && (window == hwnd_ || IsChild(hwnd_, window));
}

bool AboutWindow::PreviewKey(const MSG& msg) {
  if (!IsOwnWindow(msg.hwnd)) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) escapePressed_ = true;
  if (msg.message != WM_KEYUP) return false;
  // Esc let go here after it closed the platform's About box closes nothing more.
  if (msg.wParam == VK_ESCAPE && !escapePressed_) return false;
  Form_KeyUp(static_cast<int>(msg.wParam));
  return hwnd_ == nullptr;
}

LRESULT CALLBACK AboutWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<AboutWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
      if ((id == kIdAboutLabel9 || id == kIdAboutLabel7) && HomePageCommand(contacts_.homePage)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_PAINT:
      PaintLines();
      return 0;
    case WM_ACTIVATE:
      // The focus comes back to where it was when the window was left, the first text box at first.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (IsOwnWindow(focus)) focus_ = focus;
      } else {
        SetFocus(focus_ != nullptr ? focus_ : GetNextDlgTabItem(hwnd_, nullptr, FALSE));
      }
      return 0;
    case WM_CLOSE:
      Unload(Unloaded::kOtherwise);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT AboutWindow::OnControlColor(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == kIdAboutText1 || id == kIdAboutText2) {
    // Read-only, but drawn like text to read and copy rather than greyed out.
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  if (id == kIdAboutLabel9 || id == kIdAboutLabel7) {
    SetTextColor(dc, kLinkColour);
  } else if (id == kIdAboutLabel8) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void AboutWindow::OnCommand(int id, int code) {
  // STN_CLICKED and BN_CLICKED are both 0; Enter and Esc (IDOK, IDCANCEL) press nothing here.
  if (code != BN_CLICKED) return;
  switch (id) {
    case kIdAboutCommand1:
      Command1_Click();
      break;
    case kIdAboutLabel7:
      Label7_Click();
      break;
    case kIdAboutLabel9:
      Label9_Click();
      break;
    default:
      break;
  }
}

void AboutWindow::PaintLines() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  if (dc == nullptr) return;
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, GetSysColor(COLOR_BTNSHADOW));
  for (const TwipsLine& line : kAboutLines) {
    MoveToEx(dc, TwipsToPixels(line.x1, dpi_), TwipsToPixels(line.y1, dpi_), nullptr);
    LineTo(dc, TwipsToPixels(line.x2, dpi_), TwipsToPixels(line.y2, dpi_));
  }
  SelectObject(dc, oldPen);
  EndPaint(hwnd_, &paint);
}

LRESULT CALLBACK AboutWindow::TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
  auto* about = reinterpret_cast<AboutWindow*>(self);
  if (message == WM_GETDLGCODE) {
    // A multi-line box asks for every key, Tab included; read-only, it has no use for them, and
    // Tab should move on to the next control.
    return platform::DefSubclassProc(box, message, wParam, lParam) &
           ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  }
  if (message == WM_LBUTTONDBLCLK && GetDlgCtrlID(box) == kIdAboutText1) {
    const LRESULT result = platform::DefSubclassProc(box, message, wParam, lParam);
    about->Text1_DblClick();
    return result;
  }
  if (message == WM_NCDESTROY) platform::RemoveWindowSubclass(box, TextBoxProc, 0);
  return platform::DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace ui
