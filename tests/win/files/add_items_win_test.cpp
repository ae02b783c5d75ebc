#include "files/add_items.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "dialog_driver.h"
#include "files/file_dialog.h"
#include "platform/list_box.h"
#include "platform/screen_pointer.h"
#include "test_support.h"

namespace files {
namespace {

using namespace std::string_view_literals;
using Entries = std::vector<std::wstring>;
using platform::ListEntries;

// A list box like the main window's: single selection, not sorted.
class ListBoxTest : public ::testing::Test {
 protected:
  ListBoxTest()
      : window_([](UINT) {}),
        list_(CreateWindowExW(0, L"ListBox", L"", WS_CHILD | LBS_NOTIFY, 0, 0, 300, 200,
                              window_.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~ListBoxTest() override { DestroyWindow(list_); }

  void Fill(const Entries& entries, int selected = -1) {
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : entries) {
      SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  }
  int Selected() const { return static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0)); }

  testing_win::AppMessageWindow window_;
  HWND list_;
};

TEST_F(ListBoxTest, MergesTheBatchOnTopAndSelects) {
  Fill({L"A", L"B", L"C"}, 2);
  EXPECT_EQ(AddItems(std::wstring(L"B\0D"sv), list_, true, L'\0', 0), L"");
  EXPECT_EQ(ListEntries(list_), (Entries{L"B", L"D", L"A", L"C"}));
  EXPECT_EQ(Selected(), 0);

  // Select index -1: nothing selected after the refill.
  Fill({L"A", L"B", L"C"}, 2);
  EXPECT_EQ(AddItems(std::wstring(L"B\0D"sv), list_, true, L'\0', -1), L"");
  EXPECT_EQ(ListEntries(list_), (Entries{L"B", L"D", L"A", L"C"}));
  EXPECT_EQ(Selected(), LB_ERR);

  // Without keeping, the batch replaces the list.
  EXPECT_EQ(AddItems(std::wstring(L"x\0\0y"sv), list_, false, L'\0', 1), L"");
  EXPECT_EQ(ListEntries(list_), (Entries{L"x", L"", L"y"}));
  EXPECT_EQ(Selected(), 1);
}

TEST_F(ListBoxTest, LetterCaseUnderTheUserLocaleMakesNoNewEntry) {
  // The Chinese user locale lower-cases Latin, Cyrillic and full-width letters alike.
  Fill({L"C:\\V\\A.RM", L"D:\\Фильм.rm", L"E:\\ＡＢ.rm", L"C:\\x\\a.rm"});
  EXPECT_EQ(
      AddItems(std::wstring(L"c:\\v\\a.rm\0d:\\фильм.RM\0e:\\ａｂ.RM"sv), list_, true, L'\0', 0),
      L"");
  EXPECT_EQ(ListEntries(list_),
            (Entries{L"c:\\v\\a.rm", L"d:\\фильм.RM", L"e:\\ａｂ.RM", L"C:\\x\\a.rm"}));
}

TEST_F(ListBoxTest, AnEmptyBatchChangesNothing) {
  Fill({L"A", L"B"}, 1);
  EXPECT_EQ(AddItems(L"", list_, true, L'\0', 0), L"");
  EXPECT_EQ(AddItems(L"", list_, false, L'\0', 0), L"");
  EXPECT_EQ(ListEntries(list_), (Entries{L"A", L"B"}));
  EXPECT_EQ(Selected(), 1);
}

TEST_F(ListBoxTest, ASelectIndexPastTheEndIsAFailureAfterTheMerge) {
  Fill({L"A"});
  EXPECT_NE(AddItems(L"B", list_, true, L'\0', 5), L"");
  EXPECT_EQ(ListEntries(list_), (Entries{L"B", L"A"}));
}

// AddFilesToList with the busy pointer up beforehand, while another thread works the open dialog
// with `work` and then presses `answer` in the next dialog, if one opens within `seconds`.
// `nextOpened` tells whether one did.
bool AddWhileUserWorks(HWND list, const std::function<void(HWND dialog)>& work, int answer,
                       double seconds, bool& nextOpened) {
  platform::ShowBusyPointer();
  nextOpened = false;
  testing_win::DialogDriver driver([&](DWORD gui) {
    HWND dialog = testing_win::WaitForDialog(gui);
    if (dialog == nullptr) return;
    work(dialog);
    HWND next = testing_win::WaitForDialog(gui, dialog, seconds);
    nextOpened = next != nullptr;
    if (nextOpened) testing_win::Press(next, answer);
  });
  return AddFilesToList(list, L"", L"", nullptr);
}

TEST_F(ListBoxTest, AddFilesToListMergesThePickedFilesAndResetsThePointer) {
  testing_win::ScratchFolder root;
  ASSERT_TRUE(testing_win::WriteBytes(root / L"a.rm", "x"));
  ASSERT_TRUE(testing_win::WriteBytes(root / L"b.rm", "x"));
  RememberedDialog() = {};
  Fill({L"C:\\old.rm", root / L"A.RM"}, 0);

  bool asked = false;
  const auto pick = [&](HWND dialog) {
    // A folder the dialog did not take shows as a question that never comes.
    static_cast<void>(testing_win::PickInFolder(dialog, root.Path(), L"\"b.rm\" \"a.rm\""));
  };
  EXPECT_TRUE(AddWhileUserWorks(list_, pick, IDNO, 10, asked));
  EXPECT_TRUE(asked);
  EXPECT_EQ(ListEntries(list_), (Entries{root / L"b.rm", root / L"a.rm", L"C:\\old.rm"}));
  EXPECT_EQ(Selected(), 0);
  EXPECT_FALSE(platform::IsBusyPointerShown());

  // A cancelled dialog: nothing changes, nothing is reported, and the pointer is reset anyway.
  bool reported = false;
  const auto cancel = [](HWND dialog) { testing_win::Press(dialog, IDCANCEL); };
  EXPECT_FALSE(AddWhileUserWorks(list_, cancel, IDOK, 1, reported));
  EXPECT_FALSE(reported);
  EXPECT_EQ(ListEntries(list_), (Entries{root / L"b.rm", root / L"a.rm", L"C:\\old.rm"}));
  EXPECT_EQ(Selected(), 0);
  EXPECT_FALSE(platform::IsBusyPointerShown());
}

}  // namespace
}  // namespace files
