// The About window in this process, shown modally over a hidden owner; each test works it from a
// timer that fires inside the window's own loop.
#include "ui/about_window.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "ui/about_window_ids.h"

namespace {

using ui::AboutWindow;

struct Started {
  std::wstring commandLine;
  int showStyle;
  friend bool operator==(const Started&, const Started&) = default;
};

std::function<void()> pendingSteps;

void CALLBACK RunPendingSteps(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (auto steps = std::exchange(pendingSteps, nullptr)) steps();
}

// Runs `steps` from the thread's loop once the messages queued before it have been handled.
void Later(std::function<void()> steps) {
  pendingSteps = std::move(steps);
  SetTimer(nullptr, 0, 10, RunPendingSteps);
}

class AboutWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override { DestroyWindow(owner_); }

  AboutWindow MakeWindow(std::wstring_view homePage) {
    return AboutWindow(ui::AboutContacts{homePage, L"", L"", L""},
                       [this](const std::wstring& command, int style) {
                         started_.push_back({command, style});
                       });
  }

  // Shows `about` modally; `steps` runs once it is up, with its handle, and must end it.
  AboutWindow::Unloaded Show(AboutWindow& about, std::function<void(HWND)> steps) {
    Later([&about, steps] { steps(about.Handle()); });
    return about.ShowModal(owner_);
  }

  static std::wstring Text(HWND about, int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(about, id, text, 256);
    return text;
  }

  static void Click(HWND about, int id) {
    SendMessageW(about, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(about, id)));
  }

  HWND owner_ = nullptr;
  std::vector<Started> started_;
};

TEST_F(AboutWindowTest, BothLinksStartExplorerOnTheHomePageMinimisedAndDoNotWait) {
  AboutWindow about = MakeWindow(L"https://quellin.invalid/首页");
  std::wstring shown;
  const auto unloaded = Show(about, [&](HWND window) {
    shown = Text(window, ui::kIdAboutLabel9);
    Click(window, ui::kIdAboutLabel9);
    Click(window, ui::kIdAboutLabel7);
    // Label9 opens whatever it shows, Label7 always the home page.
    SetDlgItemTextW(window, ui::kIdAboutLabel9, L"https://quellin.invalid/other");
    Click(window, ui::kIdAboutLabel9);
    Click(window, ui::kIdAboutLabel7);
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(unloaded, AboutWindow::Unloaded::kOtherwise);
  EXPECT_EQ(shown, L"https://quellin.invalid/首页");
  const Started home{L"explorer \"https://quellin.invalid/首页\"", SW_SHOWMINIMIZED};
  const Started other{L"explorer \"https://quellin.invalid/other\"", SW_SHOWMINIMIZED};
  EXPECT_EQ(started_, (std::vector<Started>{home, home, other, home}));
}

TEST_F(AboutWindowTest, WithoutAHomePageTheLinksShowNotGivenAndOpenNothing) {
  AboutWindow about = MakeWindow(L"");
  std::wstring shown;
  Show(about, [&](HWND window) {
    shown = Text(window, ui::kIdAboutLabel9);
    Click(window, ui::kIdAboutLabel9);
    Click(window, ui::kIdAboutLabel7);
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(shown, L"未提供");
  EXPECT_TRUE(started_.empty());
}

TEST_F(AboutWindowTest, AProgramWithoutAVersionRecordKeepsThoseTextsEmpty) {
  // This test program has no version record: the steps that read it are skipped, the others run.
  AboutWindow about = MakeWindow(L"");
  std::vector<std::wstring> texts;
  Show(about, [&](HWND window) {
    wchar_t caption[128] = {};
    GetWindowTextW(window, caption, 128);
    texts = {caption, Text(window, ui::kIdAboutLabel1), Text(window, ui::kIdAboutLabel2),
             Text(window, ui::kIdAboutText2), Text(window, ui::kIdAboutText1)};
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(texts,
            (std::vector<std::wstring>{L"关于 win_tests --By Ostrelo", L"", L"", L"", L"未提供"}));
}

TEST_F(AboutWindowTest, EscClosesItOnlyWhenPressedThereAndTheOwnerComesBack) {
  AboutWindow about = MakeWindow(L"");
  bool ownerDisabled = false;
  bool openAfterOtherKeys = false;
  const auto unloaded = Show(about, [&](HWND window) {
    ownerDisabled = !IsWindowEnabled(owner_);
    // The keys go to the text box that the window gives the focus to, by name: the focus itself
    // is gone while a program that a parallel test starts holds the foreground, and keys posted
    // to no window would never reach the About window.
    HWND focus = GetNextDlgTabItem(window, nullptr, FALSE);
    // A key-up of Esc pressed elsewhere (it closed the platform's About box) closes nothing;
    // other keys neither.
    PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    PostMessageW(focus, WM_KEYDOWN, 'A', 0x001E0001);
    PostMessageW(focus, WM_KEYUP, 'A', 0xC01E0001);
    Later([&, window, focus] {
      openAfterOtherKeys = IsWindow(window) != FALSE;
      // Then the window's own Esc.
      PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    });
  });
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(openAfterOtherKeys);
  EXPECT_EQ(unloaded, AboutWindow::Unloaded::kByEscape);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(about.Handle(), nullptr);
}

TEST_F(AboutWindowTest, AQuitUnloadsItAndStaysInTheQueue) {
  AboutWindow about = MakeWindow(L"");
  Show(about, [](HWND) { PostQuitMessage(7); });
  EXPECT_EQ(about.Handle(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  MSG msg = {};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
