// Where a clearing run shows how far it has got. A run of the shown window: its caption and its
// taskbar button. A one-shot run, whose window is never shown: a notification-area icon, once the
// run has taken a second. Nothing here changes the window's layout or the run itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <windows.h>

#include "run/run_progress.h"

struct ITaskbarList3;

namespace ui {

class WindowProgress final : public run::ProgressView {
 public:
  // The taskbar part needs COM on this thread (the program initialises OLE first); without the
  // taskbar interface (old Windows, Wine without it) only the caption changes.
  explicit WindowProgress(HWND window);
  ~WindowProgress() override;
  WindowProgress(const WindowProgress&) = delete;
  WindowProgress& operator=(const WindowProgress&) = delete;

  void Waiting() noexcept override;
  void Show(size_t finished, size_t total, std::wstring_view film) noexcept override;
  // The caption is the program's name again; the button's progress goes, after a moment in the
  // error state when some film was not cleaned.
  void End(bool allCleaned) noexcept override;

 private:
  void SetCaption(const std::wstring& caption) noexcept;

  HWND window_;
  ITaskbarList3* taskbar_ = nullptr;
  std::wstring caption_;
  size_t shownFinished_ = 0;
  size_t shownTotal_ = 0;
};

class TrayProgress final : public run::ProgressView {
 public:
  // `window` (hidden) owns the icon and gets `callbackMessage` for its clicks; the second counts
  // from here.
  TrayProgress(HWND window, UINT callbackMessage);
  ~TrayProgress() override;
  TrayProgress(const TrayProgress&) = delete;
  TrayProgress& operator=(const TrayProgress&) = delete;

  // The icon shows at once with the waiting text: a start that has to wait for another run is not
  // left without a sign of life.
  void Waiting() noexcept override;
  void Show(size_t finished, size_t total, std::wstring_view film) noexcept override;
  void End(bool allCleaned) noexcept override;

  // Takes away the icon of a run the program leaves from inside (it ends at once, and Windows
  // would keep a dead icon until the pointer passes over it).
  static void RemoveShown() noexcept;

 private:
  // Shows `tip` on the icon, adding the icon when it is not there yet.
  void SetTip(const std::wstring& tip) noexcept;

  HWND window_;
  UINT callbackMessage_;
  ULONGLONG started_;
  HICON icon_ = nullptr;
  bool added_ = false;
  std::wstring tip_;
};

}  // namespace ui
