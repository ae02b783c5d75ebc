// The program's one working window: the file list L, four buttons and two check boxes. Its
// handlers keep the names of their control and event.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "run/run_stop.h"
#include "ui/about_window.h"
#include "ui/main_window_controls.h"

struct IDataObject;

namespace run {
class OneShotGathering;
}

namespace ui {

class MainWindow {
 public:
  MainWindow() = default;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Makes the window and its controls, hidden; true when it exists afterwards. A second call
  // keeps the window already made.
  [[nodiscard]] bool Create(HINSTANCE instance);
  // Shows the window, modeless and without an owner.
  void Show();

  [[nodiscard]] HWND Handle() const { return hwnd_; }

  // The list's tool tip; a click on the list sets it to the selected entry's full path.
  void SetListToolTip(std::wstring_view text);

  // With `gathering` (a one-shot start that gathers the films of other starts), the films handed
  // over are appended to the list after the program's own before the run.
  void Form_Load(run::OneShotGathering* gathering = nullptr);
  [[noreturn]] void Form_Unload();
  void Check1_Click();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();

  // The file list's own handlers. Buttons count 1 left, 2 right, 4 middle, added up.
  void L_MouseDown(int button);
  void L_MouseMove(int buttons);
  void L_OLEDragDrop(IDataObject* data);
  void L_Click();
  void L_KeyDown(int keyCode);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  // The notification icon of a one-shot run was clicked: its menu offers to stop the run.
  void OnTrayIcon(UINT mouseMessage);
  [[nodiscard]] bool CreateControls(int dpi);
  [[nodiscard]] HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  // Subclasses the list for its mouse and key handlers and makes it a drop target.
  void AttachListHandlers();
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR self);
  // Selects entry `index` in code, which counts as a click on it.
  void SelectEntry(int index);

  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  HWND listToolTip_ = nullptr;
  HWND focusBeforeDeactivation_ = nullptr;
  // DragIndex: the entry being dragged, the selection when the left button last went down on the
  // list, following the entry at every move.
  int dragIndex_ = 0;
  UniqueFont font_;
  // Made on the first click on "..." and kept; closing it with Esc drops it, so the next click
  // makes a new one.
  std::unique_ptr<AboutWindow> about_;
  // Stops the run under way; a close during a run stops it and ends the program once it has ended.
  run::RunStop stop_;
  bool closeAfterRun_ = false;
  // Names handed over by other starts that were no usable film paths, for the run's report.
  std::vector<std::wstring> refused_;
};

}  // namespace ui
