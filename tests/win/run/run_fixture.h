// What the run tests share: a hidden window holding the run's three controls, a TMP folder with
// the real rmevents.exe in it, films copied from the corpus, and the Notepads a run leaves open.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "run/clearing_run.h"
#include "test_support.h"

namespace run_test {

// A Unix path of the build machine as Wine's Z: drive shows it.
std::wstring FromUnixPath(const char* path);

// A hidden top-level window with a list box (unsorted, like L), a push button (Command2) and an
// auto check box (Ch, ticked at the start).
class ControlsWindow {
 public:
  ControlsWindow();
  ~ControlsWindow();
  ControlsWindow(const ControlsWindow&) = delete;
  ControlsWindow& operator=(const ControlsWindow&) = delete;

  run::RunControls Controls() const { return {list_, button_, check_}; }
  void Add(const std::wstring& entry) const;
  void SetTicked(bool ticked) const;
  HWND Button() const { return button_; }
  HWND List() const { return list_; }

 private:
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HWND button_ = nullptr;
  HWND check_ = nullptr;
};

// Ends the notepad.exe processes this program started and says how many there were, waiting up to
// `seconds` for the first one to show up.
int EndOwnNotepads(double seconds);

// rmevents.exe run directly (not through a batch), waited for; its exit code, or -1.
int RunTool(const std::wstring& toolPath, const std::wstring& arguments);

// The event lines of the dump rmevents writes with -d: every line that is neither blank nor a
// comment.
int EventLinesInDump(const std::wstring& toolPath, const std::wstring& film,
                     const std::wstring& dumpName);

// Each test gets a scratch folder, a TMP folder in it (blank and Chinese in its name) holding the
// real rmevents.exe, TMP pointed there, and the reference: events.rm cleaned by the tool alone.
class RunTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Copies the corpus film with events to root\relative (folders made as needed); its full path.
  std::wstring Film(const std::wstring& relative) const;

  testing_win::ScratchFolder root_;
  ControlsWindow window_;
  std::wstring temp_;
  std::wstring tool_;
  std::string filmBytes_;     // the corpus film with two URL events
  std::string cleanedBytes_;  // what the tool alone makes of it

 private:
  std::wstring savedTmp_;
  bool hadTmp_ = false;
};

}  // namespace run_test
