#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/error_text.h"
#include "platform/message_pump.h"
#include "platform/system_folders.h"
#include "platform/system_library.h"
#include "platform/temp_folder.h"
#include "platform/text_conversion.h"
#include "platform/unique_handle.h"
#include "test_support.h"

namespace platform {
namespace {

// Everything the program writes for cmd and the narrow interfaces depends on this: a machine that
// silently runs under 1252 must fail here, not later in a garbled batch file.
TEST(CodePage, IsTheChineseOne) { EXPECT_EQ(GetACP(), 936u); }

TEST(TextConversion, ChineseRoundTripsThroughCodePage936) {
  EXPECT_EQ(ToAnsi(L"清除"), "\xC7\xE5\xB3\xFD");
  EXPECT_EQ(FromAnsi("\xC7\xE5\xB3\xFD"), L"清除");
  const std::wstring path = LR"(D:\电影\清除 事件.rmvb)";
  EXPECT_EQ(FromAnsi(ToAnsi(path)), path);
  EXPECT_EQ(ToAnsi(L"plain ASCII"), "plain ASCII");
}

TEST(TextConversion, KeepsEmbeddedNulsAndEmptyTexts) {
  // Item batches join paths with NUL characters.
  const std::wstring batch(L"清\0a\0", 4);
  const std::string bytes = ToAnsi(batch);
  EXPECT_EQ(bytes, std::string("\xC7\xE5\0a\0", 5));
  EXPECT_EQ(FromAnsi(bytes), batch);
  EXPECT_EQ(ToAnsi(L""), "");
  EXPECT_EQ(FromAnsi(""), L"");
}

bool IsOpen(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesExactlyOnceWhateverTheOwnershipPath) {
  HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(raw, nullptr);
  {
    UniqueHandle first(raw);
    UniqueHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Get(), raw);
    UniqueHandle third;
    third = std::move(second);
    EXPECT_TRUE(IsOpen(raw));
  }
  EXPECT_FALSE(IsOpen(raw));

  HANDLE kept = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    UniqueHandle owner(kept);
    EXPECT_EQ(owner.Release(), kept);
  }
  EXPECT_TRUE(IsOpen(kept));
  UniqueHandle reset(kept);
  reset.Reset();
  EXPECT_FALSE(IsOpen(kept));

  // CreateFileW reports failure as INVALID_HANDLE_VALUE: that is empty too.
  UniqueHandle failed(
      CreateFileW(L"C:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(failed);
}

TEST(UniqueKey, OwnsOpenedKeysButNeverTheRoots) {
  EXPECT_FALSE(UniqueKey(HKEY_CLASSES_ROOT));
  EXPECT_FALSE(UniqueKey(HKEY_CURRENT_USER));
  UniqueKey key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Receive()),
            ERROR_SUCCESS);
  EXPECT_TRUE(key);
}

TEST(ErrorText, GivesTheSystemTextWithoutTheLineBreak) {
  const std::wstring text = ErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), L'\n');
  EXPECT_NE(text.back(), L'\r');
  EXPECT_EQ(text.find(L"错误 "), std::wstring::npos);
  EXPECT_EQ(ErrorText(0x2000FFFFu), L"错误 536936447");
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(LastErrorText(), ErrorText(ERROR_ACCESS_DENIED));
}

TEST(SystemLibrary, ComesFromTheSystemFolderAndMissingPiecesGiveNothing) {
  const HMODULE version = platform::SystemLibrary(L"version.dll");
  ASSERT_NE(version, nullptr);
  wchar_t file[MAX_PATH] = {};
  const std::wstring path(file, GetModuleFileNameW(version, file, MAX_PATH));
  EXPECT_EQ(CompareStringOrdinal(path.c_str(), -1,
                                 platform::SystemFolderFile(L"version.dll").c_str(), -1, TRUE),
            CSTR_EQUAL)
      << path;
  using Query = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  EXPECT_NE(platform::SystemFunction<Query>(L"version.dll", "VerQueryValueW"), nullptr);
  EXPECT_EQ(platform::SystemFunction<Query>(L"version.dll", "NoSuchFunction"), nullptr);
  EXPECT_EQ(platform::SystemLibrary(L"quellin-no-such-library.dll"), nullptr);
}

TEST(TempFolder, IsReadAfreshAndEmptyWhenUnset) {
  wchar_t saved[32768];
  const DWORD length = GetEnvironmentVariableW(L"TMP", saved, 32768);
  const std::wstring longValue(600, L'长');
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", longValue.c_str()));
  EXPECT_EQ(TempFolder(), longValue);
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", nullptr));
  EXPECT_EQ(TempFolder(), L"");
  SetEnvironmentVariableW(L"TMP", length > 0 && length < 32768 ? saved : nullptr);
}

// A hidden top-level window that counts the WM_APP messages it gets.
class CountingWindow {
 public:
  explicit CountingWindow(DWORD exStyle = 0)
      : window_([this](UINT message) { count_ += message == WM_APP ? 1 : 0; }, exStyle) {}
  HWND Handle() const { return window_.Handle(); }
  int Count() const { return count_; }

 private:
  int count_ = 0;
  testing_win::AppMessageWindow window_;
};

void DrainQueue() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TEST(PumpPendingMessages, HandlesEveryWaitingMessage) {
  DrainQueue();
  CountingWindow window;
  ASSERT_NE(window.Handle(), nullptr);
  PostMessageW(window.Handle(), WM_APP, 0, 0);
  PostMessageW(window.Handle(), WM_APP, 0, 0);
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 0, 0);
  EXPECT_TRUE(PumpPendingMessages());
  EXPECT_EQ(window.Count(), 2);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST(PumpPendingMessages, LeavesTheQuitMessageForTheThreadsLoop) {
  DrainQueue();
  CountingWindow window;
  PostMessageW(window.Handle(), WM_APP, 0, 0);
  PostQuitMessage(7);
  EXPECT_FALSE(PumpPendingMessages());
  EXPECT_EQ(window.Count(), 1);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  DrainQueue();
}

// The id of the control that has the focus after Tab is pressed on control 1 of a plain window
// with `exStyle`; 0 when the focus could not be kept. Any Wine program coming to the foreground
// (one a parallel test starts) takes the focus away from this thread at any moment, so an attempt
// over which the focus was lost says nothing and is made again, for up to 10 s.
int FocusAfterTab(DWORD exStyle) {
  const ULONGLONG deadline = GetTickCount64() + 10000;
  for (; GetTickCount64() < deadline; Sleep(10)) {
    CountingWindow window(exStyle);
    HWND controls[2] = {};
    for (int i = 0; i < 2; ++i) {
      controls[i] = CreateWindowExW(
          0, L"BUTTON", L"按钮", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10 + 30 * i, 80, 24,
          window.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)), nullptr, nullptr);
    }
    ShowWindow(window.Handle(), SW_SHOW);
    SetForegroundWindow(window.Handle());
    SetFocus(controls[0]);
    (void)PumpPendingMessages();
    if (GetFocus() != controls[0]) continue;
    MSG msg = {};
    msg.hwnd = controls[0];
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    msg.lParam = 0x000F0001;
    DispatchMessageOf(msg);
    (void)PumpPendingMessages();
    if (HWND focus = GetFocus()) return GetDlgCtrlID(focus);
  }
  return 0;
}

TEST(DispatchMessageOf, TabMovesBetweenControlsOnlyOfAControlParent) {
  DrainQueue();
  EXPECT_EQ(FocusAfterTab(WS_EX_CONTROLPARENT), 2);
  EXPECT_EQ(FocusAfterTab(0), 1);
  DrainQueue();
}

}  // namespace
}  // namespace platform
