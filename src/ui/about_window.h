// The About window: product name, version and description from the program's version record, and
// the maker's contact data. It opens modally over the main window; Esc or the close box closes it.
// Its handlers keep the names of their control and event.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <windows.h>

#include "ui/main_window_controls.h"

namespace ui {

// The maker's contact data the window shows; an empty one reads "not given".
struct AboutContacts {
  std::wstring_view homePage;
  std::wstring_view email;
  std::wstring_view postalAddress;
  std::wstring_view messenger;
};

// Starts a command line with a show style and does not wait for it.
using CommandStarter = std::function<void(const std::wstring& commandLine, int showStyle)>;

class AboutWindow {
 public:
  enum class Unloaded { kByEscape, kOtherwise };

  // With the contact data the program was built with, starting commands as new processes.
  AboutWindow();
  AboutWindow(const AboutContacts& contacts, CommandStarter start);
  AboutWindow(const AboutWindow&) = delete;
  AboutWindow& operator=(const AboutWindow&) = delete;
  ~AboutWindow();

  // Loads the window (made anew each time, so Form_Load runs on every opening), shows it centred
  // on the screen with `owner` disabled, and returns once it is unloaded, saying how. Messages
  // of the thread are handled meanwhile; a WM_QUIT unloads the window and stays in the queue.
  Unloaded ShowModal(HWND owner);

  [[nodiscard]] HWND Handle() const { return hwnd_; }

  void Form_Load();
  void Form_KeyUp(int keyCode);
  void Command1_Click();
  void Label7_Click();
  void Label9_Click();
  void Text1_DblClick();

 private:
  [[nodiscard]] bool Create(HWND owner);
  [[nodiscard]] bool CreateControls(int dpi);
  void Unload(Unloaded how);
  // Sees a key before the focused control does: true when the message is used up.
  bool PreviewKey(const MSG& msg);
  [[nodiscard]] HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  [[nodiscard]] bool IsOwnWindow(HWND window) const;

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnControlColor(HDC dc, HWND control);
  void OnCommand(int id, int code);
  void PaintLines();
  static LRESULT CALLBACK TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);

  void OpenHomePage(std::wstring_view address) const;

  AboutContacts contacts_;
  CommandStarter start_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  HWND focus_ = nullptr;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  bool escapePressed_ = false;
  Unloaded unloaded_ = Unloaded::kOtherwise;
  UniqueFont font_;
  UniqueFont linkFont_;
  UniqueFont smallFont_;
  UniqueFont noteFont_;
};

}  // namespace ui
