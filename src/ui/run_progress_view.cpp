#include "ui/run_progress_view.h"

#include <cwchar>

#include <shellapi.h>
#include <shobjidl.h>

#include "ui/resource_ids.h"
#include "ui/run_progress_texts.h"

namespace ui {
namespace {

// How long the taskbar button stays red after a run with a film not cleaned.
constexpr UINT kErrorShownMs = 2000;
constexpr UINT_PTR kClearTaskbarTimer = 0x5155;
// A one-shot run shorter than this shows nothing at all.
constexpr ULONGLONG kTrayDelayMs = 1000;
constexpr UINT kTrayIconId = 1;
// The characters the icon's tool tip holds, its terminating NUL aside.
constexpr size_t kTipRoom = sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t) - 1;
// The window that owns the icon shown now, if any: one run at a time has one.
HWND trayIconOwner = nullptr;

ITaskbarList3* MakeTaskbar() {
  ITaskbarList3* taskbar = nullptr;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                              reinterpret_cast<void**>(&taskbar)))) {
    return nullptr;
  }
  if (FAILED(taskbar->HrInit())) {
    taskbar->Release();
    return nullptr;
  }
  return taskbar;
}

void CALLBACK ClearTaskbar(HWND window, UINT, UINT_PTR timer, DWORD) {
  KillTimer(window, timer);
  if (ITaskbarList3* taskbar = MakeTaskbar()) {
    taskbar->SetProgressState(window, TBPF_NOPROGRESS);
    taskbar->Release();
  }
}

}  // namespace

WindowProgress::WindowProgress(HWND window) : window_(window), taskbar_(MakeTaskbar()) {
  // The red of an earlier run must not end this one's progress.
  KillTimer(window_, kClearTaskbarTimer);
}

WindowProgress::~WindowProgress() {
  if (taskbar_ != nullptr) taskbar_->Release();
}

void WindowProgress::SetCaption(const std::wstring& caption) noexcept {
  if (caption == caption_) return;
  caption_ = caption;
  SetWindowTextW(window_, caption_.c_str());
}

void WindowProgress::Waiting() noexcept {
  try {
    SetCaption(WaitingCaption());
  } catch (...) {
    // Out of memory: the caption stays as it is.
  }
}

void WindowProgress::Show(size_t finished, size_t total, std::wstring_view) noexcept {
  try {
    SetCaption(ProgressCaption(finished, total));
  } catch (...) {
    // Out of memory: the caption stays as it is.
  }
  if (taskbar_ == nullptr) return;
  if (shownTotal_ == 0) taskbar_->SetProgressState(window_, TBPF_NORMAL);
  if (finished != shownFinished_ || total != shownTotal_) {
    taskbar_->SetProgressValue(window_, finished, total > 0 ? total : 1);
  }
  shownFinished_ = finished;
  shownTotal_ = total > 0 ? total : 1;
}

void WindowProgress::End(bool allCleaned) noexcept {
  caption_.clear();
  SetWindowTextW(window_, std::wstring(kMainCaption).c_str());
  if (taskbar_ == nullptr) return;
  if (allCleaned || shownTotal_ == 0) {
    taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
    return;
  }
  taskbar_->SetProgressValue(window_, shownTotal_, shownTotal_);
  taskbar_->SetProgressState(window_, TBPF_ERROR);
  if (SetTimer(window_, kClearTaskbarTimer, kErrorShownMs, ClearTaskbar) == 0) {
    taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
  }
}

TrayProgress::TrayProgress(HWND window, UINT callbackMessage)
    : window_(window), callbackMessage_(callbackMessage), started_(GetTickCount64()) {}

TrayProgress::~TrayProgress() {
  End(true);
  if (icon_ != nullptr) DestroyIcon(icon_);
}

void TrayProgress::Waiting() noexcept {
  try {
    SetTip(WaitingCaption());
  } catch (...) {
    // Out of memory: no icon.
  }
}

void TrayProgress::Show(size_t finished, size_t total, std::wstring_view film) noexcept {
  if (!added_ && GetTickCount64() - started_ < kTrayDelayMs) return;
  try {
    SetTip(ProgressTip(finished, total, film, kTipRoom));
  } catch (...) {
    // Out of memory: the icon stays as it is.
  }
}

void TrayProgress::SetTip(const std::wstring& tip) noexcept {
  if (added_ && tip == tip_) return;
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kTrayIconId;
  data.uFlags = NIF_TIP;
  try {
    tip_ = tip;
  } catch (...) {
    return;
  }
  wcsncpy(data.szTip, tip_.c_str(), kTipRoom);
  if (added_) {
    (void)Shell_NotifyIconW(NIM_MODIFY, &data);
    return;
  }
  // The program's own icon, at the size the notification area draws; its clicks come to the
  // window, whose menu can stop the run.
  if (icon_ == nullptr) {
    icon_ = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(QUELLIN_ICON_ID), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  }
  data.uFlags |= NIF_ICON | NIF_MESSAGE;
  data.hIcon = icon_;
  data.uCallbackMessage = callbackMessage_;
  added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  if (added_) trayIconOwner = window_;
}

void TrayProgress::End(bool) noexcept {
  if (!added_) return;
  added_ = false;
  RemoveShown();
}

void TrayProgress::RemoveShown() noexcept {
  if (trayIconOwner == nullptr) return;
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = trayIconOwner;
  data.uID = kTrayIconId;
  (void)Shell_NotifyIconW(NIM_DELETE, &data);
  trayIconOwner = nullptr;
}

}  // namespace ui
