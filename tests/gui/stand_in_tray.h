// A stand-in for the notification area, so a test can see the icons a program adds. Wine's null
// graphics driver runs no taskbar to receive them; Wine's Shell_NotifyIconW hands each call to the
// first top-level window of the class "Shell_TrayWnd" as WM_COPYDATA, which this window takes.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace gui {

class StandInTray {
 public:
  // Makes the window; it receives calls only while the thread handles its messages (Pump).
  StandInTray();
  ~StandInTray();
  StandInTray(const StandInTray&) = delete;
  StandInTray& operator=(const StandInTray&) = delete;

  bool Ready() const { return window_ != nullptr; }
  // Waits up to `ms` for `process` to end, taking the calls that arrive meanwhile.
  bool Pump(HANDLE process, DWORD ms);
  // The calls of the windows of process `pid`, in order, one a line: "add icon=0|1 TIP",
  // "modify TIP" or "delete", TIP being the tool tip with a tab for each line break.
  std::vector<std::wstring> Calls(DWORD pid) const;
  // The latest icon added by process `pid`: the window its clicks go to and their message.
  bool LatestIcon(DWORD pid, HWND& owner, UINT& callbackMessage) const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  struct Call {
    DWORD pid;
    std::wstring line;
    HWND owner;
    UINT callbackMessage;
  };
  HWND window_ = nullptr;
  std::vector<Call> calls_;
};

}  // namespace gui
