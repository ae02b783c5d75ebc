#include "ui/main_window.h"

#include <string>

#include "files/add_items.h"
#include "platform/common_controls.h"
#include "platform/screen_dpi.h"
#include "platform/screen_pointer.h"
#include "process/get_arguments.h"
#include "run/clearing_run.h"
#include "run/handed_path.h"
#include "run/one_shot_gathering.h"
#include "shell/shell_verb.h"
#include "ui/flat_style.h"
#include "ui/input_box.h"
#include "ui/main_window_ids.h"
#include "ui/main_window_layout.h"
#include "ui/run_progress_view.h"

namespace ui {
namespace {

// A fixed single border with a minimise button: the user can neither resize nor maximise it.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Tab and the arrow keys move between the controls, as in a dialog.
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

// A film another start handed over goes into the run only as the full path of an existing file:
// the message could carry anything, and whatever it carries goes into Go.bat.
bool IsHandedFilm(const std::wstring& film) {
  if (!run::IsCleanFullPath(film)) return false;
  const DWORD attributes = GetFileAttributesW(film.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The pattern box of the folder offer, as the file-gathering module asks for it.
std::wstring AskForPatterns(HWND owner, const std::wstring& prompt, const std::wstring& defaultText,
                            int leftTwips, int topTwips) {
  return InputBox(owner, prompt, L"", defaultText, TwipsPoint{leftTwips, topTwips});
}

}  // namespace

bool MainWindow::Create(HINSTANCE instance) {
  if (hwnd_ != nullptr) return true;
  // Without comctl32 the window still opens; its buttons then simply have no tool tips.
  (void)platform::InitCommonControls(ICC_WIN95_CLASSES);
  // The program's icon; the About window takes its picture from here too.
  if (!RegisterFormClass(instance, kMainWindowClass, WindowProc, true)) return false;

  const int dpi = platform::SystemDpi();
  RECT frame = {0, 0, TwipsToPixels(kClientWidthTwips, dpi),
                TwipsToPixels(kClientHeightTwips, dpi)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  // WM_NCCREATE stores `this` in hwnd_ before any other message arrives.
  CreateWindowExW(kExStyle, kMainWindowClass, L"Quellin", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                  this);
  if (hwnd_ == nullptr) return false;
  if (!CreateControls(dpi)) {
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return false;
  }
  return true;
}

bool MainWindow::CreateControls(int dpi) {
  font_ = CreateMessageFont();
  for (const ControlLayout& layout : kMainWindowControls) {
    if (CreateControl(hwnd_, layout, dpi, font_.Get()) == nullptr) return false;
  }
  list_ = Control(kIdList);
  // A list without its tool tip still works, so a failure here is not fatal.
  listToolTip_ = CreateToolTip(hwnd_, list_);
  AttachListHandlers();
  return true;
}

void MainWindow::Show() { ShowWindow(hwnd_, SW_SHOWNORMAL); }

void MainWindow::SetListToolTip(std::wstring_view text) {
  SetToolTipText(listToolTip_, hwnd_, list_, text);
}

void MainWindow::Form_Load(run::OneShotGathering* gathering) {
  FlattenControls(hwnd_);
  for (const std::wstring& argument : process::GetArguments(process::kOwnCommandLine)) {
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(argument.c_str()));
  }
  if (SendMessageW(list_, LB_GETCOUNT, 0, 0) > 0) {
    // Files named on the command line: one run over them with the window never shown, then the
    // program ends. The films of the other starts of the same selection join this run.
    if (gathering != nullptr) {
      for (const std::wstring& film : gathering->CloseAndCollect()) {
        if (IsHandedFilm(film)) {
          SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(film.c_str()));
        } else {
          refused_.push_back(film);
        }
      }
    }
    Command2_Click();
    Form_Unload();
  }
  // Ticking the box here counts as the user's click: an entry that already names this program is
  // written again for both file types.
  if (shell::IsRealFilesMenuOn()) {
    CheckDlgButton(hwnd_, kIdCheck1, BST_CHECKED);
    Check1_Click();
  }
}

void MainWindow::Form_Unload() {
  // At once, from wherever it is called: a run's wait may be further up the stack, and returning
  // into it would carry on with a run the user has just abandoned. Its icon goes with it.
  TrayProgress::RemoveShown();
  ExitProcess(0);
}

void MainWindow::Check1_Click() {
  shell::SetRealFilesMenu(IsDlgButtonChecked(hwnd_, kIdCheck1) == BST_CHECKED);
}

void MainWindow::Command1_Click() {
  // The merge selects the first new path, which counts as a click on it.
  if (files::AddFilesToList(list_, L"", L"", AskForPatterns)) L_Click();
}

void MainWindow::Command2_Click() {
  // The shown window counts the films in its caption and on its taskbar button; a one-shot run,
  // whose window is never shown, in the notification area.
  const std::vector<std::wstring> refused = std::move(refused_);
  refused_.clear();
  if (IsWindowVisible(hwnd_)) {
    WindowProgress progress(hwnd_);
    run::ClearEvents({list_, Control(kIdCommand2), Control(kIdCh), &progress, &stop_, refused});
  } else {
    TrayProgress progress(hwnd_, kTrayIconMessage);
    run::ClearEvents({list_, Control(kIdCommand2), Control(kIdCh), &progress, &stop_, refused});
  }
  // The window was closed while the run went: the run has ended as stopped, now the program goes.
  if (closeAfterRun_) Form_Unload();
}

void MainWindow::OnTrayIcon(UINT mouseMessage) {
  if (mouseMessage != WM_RBUTTONUP && mouseMessage != WM_CONTEXTMENU) return;
  if (!stop_.Running()) return;
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_STRING, kIdStopRun, L"停止清除");
  POINT at = {};
  GetCursorPos(&at);
  // A hidden window's menu closes when the user clicks elsewhere only if the window is in front,
  // and only goes away properly after a message reaches the window once it has closed.
  SetForegroundWindow(hwnd_);
  const int chosen = TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                                    at.y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (chosen == kIdStopRun) stop_.Request();
}

void MainWindow::Command3_Click() { SendMessageW(list_, LB_RESETCONTENT, 0, 0); }

void MainWindow::Command4_Click() {
  if (!about_) about_ = std::make_unique<AboutWindow>();
  if (about_->ShowModal(hwnd_) == AboutWindow::Unloaded::kByEscape) about_.reset();
}

void MainWindow::OnCommand(int id, int code) {
  if (id == kIdList) {
    // The user selected an entry, with the mouse or the keyboard.
    if (code == LBN_SELCHANGE) L_Click();
    return;
  }
  if (id == kIdStopRun) {
    stop_.Request();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kIdCheck1:
      Check1_Click();
      break;
    case kIdCommand1:
      Command1_Click();
      break;
    case kIdCommand2:
      Command2_Click();
      break;
    case kIdCommand3:
      Command3_Click();
      break;
    case kIdCommand4:
      Command4_Click();
      break;
    default:
      break;
  }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_ACTIVATE:
      // Remember where the focus was, so that coming back to the window brings it back there.
      if (LOWORD(wParam) == WA_INACTIVE) focusBeforeDeactivation_ = GetFocus();
      break;
    case WM_SETFOCUS: {
      HWND focus = focusBeforeDeactivation_;
      // The first time, and whenever the remembered control is gone: the list, tab index 0.
      if (focus == nullptr || !IsChild(hwnd_, focus)) focus = list_;
      if (focus != nullptr) SetFocus(focus);
      return 0;
    }
    case WM_SETCURSOR:
      // The busy pointer of a long step shows over the whole window, its controls included.
      if (platform::IsBusyPointerShown()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      // During a run the close stops it first: its batch ends, the films it finished are put in
      // place, the report is written, and the program ends when the run has ended.
      if (stop_.Running()) {
        closeAfterRun_ = true;
        stop_.Request();
        return 0;
      }
      Form_Unload();
    case WM_QUERYENDSESSION:
      // Log-off or shutdown: Windows may end the program as soon as it has answered, so a run
      // under way ends here and now, leaving every film whole.
      stop_.EndNow();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) stop_.EndNow();
      return 0;
    case kTrayIconMessage:
      OnTrayIcon(LOWORD(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // A handler that ran out of memory has done nothing further; the window carries on.
    return 0;
  }
}

}  // namespace ui
