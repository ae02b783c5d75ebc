#include "process/shell_wait.h"

#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "files/write_text_file.h"
#include "test_support.h"

namespace process {
namespace {

using testing_win::AppMessageWindow;
using testing_win::FileExists;
using testing_win::ReadBytes;
using testing_win::ScratchFolder;
using testing_win::SiblingProgram;

class ShellWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    // The run's batch file lives in the temporary folder, whose path may hold blanks and Chinese.
    folder_ = root_ / L"运行 目录";
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    marker_ = folder_ + L"\\done.txt";
  }

  // A batch file that waits `ms` milliseconds in a child program, then writes the marker file.
  std::wstring WriteBatch(int ms) {
    const std::wstring batch = folder_ + L"\\Go.bat";
    const std::wstring text = L"@echo off\r\n\"" + SiblingProgram(L"test_child.exe") +
                              L"\" sleep " + std::to_wstring(ms) + L"\r\necho done> \"" + marker_ +
                              L"\"\r\n";
    EXPECT_TRUE(files::WriteTextFile(batch, text, false));
    return batch;
  }

  ScratchFolder root_;
  std::wstring folder_;
  std::wstring marker_;
};

TEST_F(ShellWaitTest, ReturnsOnlyAfterTheBatchFileHasEnded) {
  // The bare path, blank and all, as the clearing run passes it: Windows and Wine run a .bat
  // given to CreateProcessW through cmd.
  const DWORD pid = ShellWait(WriteBatch(300), kHidden);
  EXPECT_NE(pid, 0u);
  EXPECT_TRUE(FileExists(marker_));
}

TEST_F(ShellWaitTest, GivesZeroWhenTheProgramCannotStart) {
  EXPECT_EQ(ShellWait(root_ / L"nothing.exe", kHidden), 0u);
  EXPECT_EQ(ShellWait(root_ / L"nothing.bat", kHidden), 0u);
  EXPECT_EQ(ShellWait(L"", kHidden), 0u);
}

TEST_F(ShellWaitTest, StartsTheProgramWithTheGivenShowStyle) {
  const std::wstring child = L"\"" + SiblingProgram(L"test_child.exe") + L"\" startup ";
  const std::wstring out = folder_ + L"\\startup.txt";
  ASSERT_NE(ShellWait(child + L"\"" + out + L"\"", SW_HIDE), 0u);
  EXPECT_EQ(ReadBytes(out), "1 0");  // STARTF_USESHOWWINDOW, SW_HIDE
  ASSERT_NE(ShellWait(child + L"\"" + out + L"\"", SW_SHOWNORMAL), 0u);
  EXPECT_EQ(ReadBytes(out), "1 1");
}

TEST_F(ShellWaitTest, DoesNotMistakeExitCode259ForARunningProcess) {
  // A wait that polls the exit code would never return here.
  EXPECT_NE(ShellWait(L"cmd.exe /c exit 259", kHidden), 0u);
}

TEST_F(ShellWaitTest, RunsItsTickAtItsIntervalWhileTheProcessRuns) {
  // The clearing run reads its progress at these ticks: a 600 ms batch with a tick every 100 ms.
  int ticks = 0;
  const platform::WaitTick tick = {100, [&ticks] { ++ticks; }};
  EXPECT_NE(ShellWait(WriteBatch(600), kHidden, tick), 0u);
  EXPECT_TRUE(FileExists(marker_));
  EXPECT_GE(ticks, 4);
  EXPECT_LE(ticks, 30) << "far more ticks than the interval allows";
}

TEST_F(ShellWaitTest, HandlesWindowEventsWhileTheProcessRuns) {
  bool postedWhileRunning = false;
  bool sentWhileRunning = false;
  AppMessageWindow window([&](UINT message) {
    const bool running = !FileExists(marker_);
    if (message == WM_APP) postedWhileRunning = running;
    if (message == WM_APP + 1) sentWhileRunning = running;
  });
  ASSERT_NE(window.Handle(), nullptr);
  const std::wstring batch = WriteBatch(1500);
  bool sendReturned = false;
  std::thread other([&] {
    Sleep(200);
    PostMessageW(window.Handle(), WM_APP, 0, 0);
    DWORD_PTR result = 0;
    // A message sent from another thread is only answered when this thread looks at its queue.
    sendReturned =
        SendMessageTimeoutW(window.Handle(), WM_APP + 1, 0, 0, SMTO_NORMAL, 5000, &result) != 0 &&
        result == 1;
  });
  const DWORD pid = ShellWait(batch, kHidden);
  other.join();
  EXPECT_NE(pid, 0u);
  EXPECT_TRUE(FileExists(marker_));
  EXPECT_TRUE(postedWhileRunning);
  EXPECT_TRUE(sendReturned);
  EXPECT_TRUE(sentWhileRunning);
}

TEST_F(ShellWaitTest, KeepsWaitingAfterAQuitMessageAndLeavesItQueued) {
  AppMessageWindow window([](UINT message) {
    if (message == WM_APP) PostQuitMessage(5);
  });
  const std::wstring batch = WriteBatch(500);
  std::thread other([&] {
    Sleep(100);
    PostMessageW(window.Handle(), WM_APP, 0, 0);
  });
  const DWORD pid = ShellWait(batch, kHidden);
  other.join();
  EXPECT_NE(pid, 0u);
  EXPECT_TRUE(FileExists(marker_));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 5u);
}

}  // namespace
}  // namespace process
