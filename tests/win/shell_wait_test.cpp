#include "process/shell_wait.h"

#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "files/write_text_file.h"
#include "platform/unique_handle.h"
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

  // A batch file that runs the child program with `arguments`, then writes the marker file.
  std::wstring WriteBatch(const std::wstring& arguments) {
    const std::wstring batch = folder_ + L"\\Go.bat";
    const std::wstring text = L"@echo off\r\n\"" + SiblingProgram(L"test_child.exe") + L"\" " +
                              arguments + L"\r\necho done> \"" + marker_ + L"\"\r\n";
    EXPECT_TRUE(files::WriteTextFile(batch, text, false));
    return batch;
  }

  // A batch whose child sets running_ once it runs and then waits for release_: the tests act
  // while the process is known to run, and end it when they are done, whatever the machine's load.
  std::wstring WriteHeldBatch() { return WriteBatch(L"hold " + kRunning + L" " + kRelease); }

  const std::wstring kRunning =
      L"Quellin.ShellWaitTest.Running." + std::to_wstring(GetCurrentProcessId());
  const std::wstring kRelease =
      L"Quellin.ShellWaitTest.Release." + std::to_wstring(GetCurrentProcessId());
  platform::UniqueHandle running_{CreateEventW(nullptr, TRUE, FALSE, kRunning.c_str())};
  platform::UniqueHandle release_{CreateEventW(nullptr, TRUE, FALSE, kRelease.c_str())};
  ScratchFolder root_;
  std::wstring folder_;
  std::wstring marker_;
};

TEST_F(ShellWaitTest, ReturnsOnlyAfterTheBatchFileHasEnded) {
  // The bare path, blank and all, as the clearing run passes it: Windows and Wine run a .bat
  // given to CreateProcessW through cmd.
  const DWORD pid = ShellWait(WriteBatch(L"sleep 300"), kHidden);
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
  // The clearing run reads its progress at these ticks, one every 100 ms. The batch is let go at
  // the fourth tick after its child runs, so only a wait that ticks returns at all.
  int ticks = 0;
  int ticksWhileRunning = 0;
  const platform::WaitTick tick = {100, [&] {
                                     ++ticks;
                                     if (WaitForSingleObject(running_.Get(), 0) != WAIT_OBJECT_0) {
                                       return;
                                     }
                                     if (++ticksWhileRunning == 4) SetEvent(release_.Get());
                                   }};
  const ULONGLONG began = GetTickCount64();
  EXPECT_NE(ShellWait(WriteHeldBatch(), kHidden, tick), 0u);
  const ULONGLONG elapsedMs = GetTickCount64() - began;
  EXPECT_TRUE(FileExists(marker_));
  EXPECT_EQ(ticksWhileRunning, 4);
  // Each tick is at least the interval after the one before; a loaded machine only makes fewer.
  EXPECT_LE(ticks, static_cast<int>(elapsedMs / 100)) << "more ticks than the interval allows";
}

TEST_F(ShellWaitTest, HandlesWindowEventsWhileTheProcessRuns) {
  bool postedWhileRunning = false;
  bool sentWhileRunning = false;
  const platform::UniqueHandle postedHandled(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  AppMessageWindow window([&](UINT message) {
    const bool running = !FileExists(marker_);
    if (message == WM_APP) {
      postedWhileRunning = running;
      SetEvent(postedHandled.Get());
    }
    if (message == WM_APP + 1) sentWhileRunning = running;
  });
  ASSERT_NE(window.Handle(), nullptr);
  const std::wstring batch = WriteHeldBatch();
  bool sendReturned = false;
  std::thread other([&] {
    WaitForSingleObject(running_.Get(), 60000);
    PostMessageW(window.Handle(), WM_APP, 0, 0);
    DWORD_PTR result = 0;
    // A message sent from another thread is only answered when this thread looks at its queue.
    sendReturned =
        SendMessageTimeoutW(window.Handle(), WM_APP + 1, 0, 0, SMTO_NORMAL, 60000, &result) != 0 &&
        result == 1;
    WaitForSingleObject(postedHandled.Get(), 60000);
    SetEvent(release_.Get());
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
  AppMessageWindow window([this](UINT message) {
    if (message != WM_APP) return;
    PostQuitMessage(5);
    // The wait has seen the quit message come; the batch may end now.
    SetEvent(release_.Get());
  });
  const std::wstring batch = WriteHeldBatch();
  std::thread other([&] {
    WaitForSingleObject(running_.Get(), 60000);
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
