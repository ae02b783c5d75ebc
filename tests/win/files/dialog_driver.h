// Working the dialogs that the code under test opens on this thread from a second thread, the
// way a user would: find the dialog, type into it, press its buttons.
#pragma once

#include <functional>
#include <string>
#include <thread>

#include <windows.h>

namespace testing_win {

// The id of the file name box of Wine's (and Windows') Explorer-style open dialog: a
// ComboBoxEx32 (cmb13).
inline constexpr int kFileNameBox = 0x47c;

// Runs `script` on its own thread while the calling thread goes on (and opens dialogs); the
// destructor waits for the script to end. The script gets the calling thread's id.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(DWORD guiThread)> script);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

 private:
  std::thread thread_;
};

// The enabled, visible dialog (class #32770) of `guiThread` other than `previous`, once it takes
// input; null when none does within `seconds`. The enabled one is the topmost modal dialog.
HWND WaitForDialog(DWORD guiThread, HWND previous = nullptr, double seconds = 10);

// True when `dialog` is gone within `seconds`.
bool WaitUntilClosed(HWND dialog, double seconds = 10);

// Puts `text` into the open dialog's file name box and presses Open, as typing and Enter would.
void EnterFileName(HWND dialog, const std::wstring& text);

// In the open dialog: goes to `folder`, then picks `names` (one name, or several quoted and
// blank-separated, as a user types them). False when the dialog had not handled the folder
// within 10 s; then no names are entered.
[[nodiscard]] bool PickInFolder(HWND dialog, const std::wstring& folder, const std::wstring& names);

// Presses a button of a dialog without waiting for what it does.
void Press(HWND dialog, int id);

// The text of a dialog's control.
std::wstring ControlText(HWND dialog, int id);

// The text of the static control in a message box that holds its message.
std::wstring MessageBoxText(HWND box);

// The id of the dialog's default push button; 0 when it has none.
int DefaultButton(HWND dialog);

}  // namespace testing_win
