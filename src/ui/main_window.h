// The program's one working window: the file list L, four buttons and two check boxes. Its
// handlers keep the names of their control and event.
#pragma once

#include <array>
#include <string_view>

#include <windows.h>

#include "ui/main_window_controls.h"

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

  // The list's tool tip; the list's own handlers set it to the entry under the mouse.
  void SetListToolTip(std::wstring_view text);

  void Form_Load();
  [[noreturn]] void Form_Unload();
  void Check1_Click();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  [[nodiscard]] bool CreateControls(int dpi);
  [[nodiscard]] HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  HWND listToolTip_ = nullptr;
  HWND focusBeforeDeactivation_ = nullptr;
  UniqueFont font_;
};

}  // namespace ui
