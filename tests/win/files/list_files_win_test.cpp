#include "files/list_files_from_folder.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "dialog_driver.h"
#include "files/file_dialog.h"
#include "files/item_merge.h"
#include "test_support.h"
#include "ui/input_box.h"

namespace files {
namespace {

using testing_win::DialogDriver;
using testing_win::Press;
using testing_win::WaitForDialog;
using Paths = std::vector<std::wstring>;

std::wstring RealInputBox(HWND owner, const std::wstring& prompt, const std::wstring& defaultText,
                          int leftTwips, int topTwips) {
  return ui::InputBox(owner, prompt, L"", defaultText, ui::TwipsPoint{leftTwips, topTwips});
}

// What the user does after picking files: the button of the question (none: no question is
// expected), and the answer typed into the pattern box (none: it is cancelled).
struct User {
  int question = 0;
  std::optional<std::wstring> answer;
};

struct Seen {
  bool question = false;
  std::wstring questionText;
  int defaultButton = 0;
  bool patternBox = false;
  std::wstring boxTitle;
  std::wstring prompt;
  std::wstring proposed;
  RECT boxFrame = {};
};

class ListFilesFromFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RememberedDialog() = {};
    for (const wchar_t* file : {L"a.rm", L"b.rmvb", L"e.txt"}) MakeFile(root_ / file);
    ASSERT_TRUE(CreateDirectoryW((root_ / L"sub").c_str(), nullptr));
    for (const wchar_t* file : {L"sub\\c.rm", L"sub\\d.RMVB", L"sub\\f.txt"}) {
      MakeFile(root_ / file);
    }
  }

  static void MakeFile(const std::wstring& path) {
    ASSERT_TRUE(testing_win::WriteBytes(path, "x")) << path;
  }

  // Picks a.rm and b.rmvb in the dialog, then acts as `user` says.
  Paths Gather(const User& user, bool askSubfolders = true) {
    std::wstring batch;
    {
      DialogDriver driver([&](DWORD gui) { Work(gui, user); });
      batch = ListFilesFromFolder(L"", L"", askSubfolders, RealInputBox);
    }
    Paths paths = SplitBatch(batch, kBatchSeparator);
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  void Work(DWORD gui, const User& user) {
    HWND dialog = WaitForDialog(gui);
    if (dialog == nullptr) return;
    if (!testing_win::PickInFolder(dialog, root_.Path(), L"\"a.rm\" \"b.rmvb\"")) return;
    HWND question = WaitForDialog(gui, dialog, user.question == 0 ? 1 : 10);
    if (question == nullptr) return;
    seen_.question = true;
    seen_.questionText = testing_win::MessageBoxText(question);
    seen_.defaultButton = testing_win::DefaultButton(question);
    Press(question, user.question == 0 ? IDCANCEL : user.question);
    if (user.question != IDYES) return;
    HWND box = WaitForDialog(gui, question);
    if (box == nullptr) return;
    seen_.patternBox = true;
    wchar_t title[256] = {};
    GetWindowTextW(box, title, 256);
    seen_.boxTitle = title;
    seen_.prompt = testing_win::ControlText(box, ui::kIdInputBoxPrompt);
    seen_.proposed = testing_win::ControlText(box, ui::kIdInputBoxEdit);
    GetWindowRect(box, &seen_.boxFrame);
    if (user.answer) {
      SetWindowTextW(GetDlgItem(box, ui::kIdInputBoxEdit), user.answer->c_str());
      Press(box, IDOK);
    } else {
      Press(box, IDCANCEL);
    }
  }

  Paths Full(std::initializer_list<const wchar_t*> names) const {
    Paths paths;
    for (const wchar_t* name : names) paths.push_back(root_ / name);
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  testing_win::ScratchFolder root_;
  Seen seen_;
};

TEST_F(ListFilesFromFolderTest, AsksAboutTheFolderWithNoAsTheDefault) {
  EXPECT_EQ(Gather({IDNO, std::nullopt}), Full({L"a.rm", L"b.rmvb"}));
  EXPECT_TRUE(seen_.question);
  EXPECT_EQ(seen_.questionText, L"要选择 " + root_.Path() + L"\\ 及其子文件夹下所有同类文件吗？");
  EXPECT_EQ(seen_.defaultButton, IDNO);
  EXPECT_FALSE(seen_.patternBox);

  EXPECT_EQ(Gather({IDCANCEL, std::nullopt}), Full({L"a.rm", L"b.rmvb"}));
}

TEST_F(ListFilesFromFolderTest, YesProposesThePickedExtensionWhereThePromptSays) {
  // Cancelling the pattern box keeps the picked files.
  EXPECT_EQ(Gather({IDYES, std::nullopt}), Full({L"a.rm", L"b.rmvb"}));
  ASSERT_TRUE(seen_.patternBox);
  EXPECT_EQ(seen_.boxTitle, L"Quellin");
  EXPECT_EQ(seen_.prompt, L"请输入匹配字符串，如*.jpg、jpg或pic???.jpg，多个以\";\"间隔。");
  EXPECT_EQ(seen_.proposed, L"*.rmvb");

  // Half the screen less 3000 twips across and less 300 down, in whole twips per pixel.
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  const int twipsPerPixel = 1440 / dpi;
  EXPECT_EQ(seen_.boxFrame.left,
            MulDiv(GetSystemMetrics(SM_CXSCREEN) * twipsPerPixel / 2 - 3000, dpi, 1440));
  EXPECT_EQ(seen_.boxFrame.top,
            MulDiv(GetSystemMetrics(SM_CYSCREEN) * twipsPerPixel / 2 - 300, dpi, 1440));

  // An emptied answer keeps them too.
  EXPECT_EQ(Gather({IDYES, L""}), Full({L"a.rm", L"b.rmvb"}));
}

TEST_F(ListFilesFromFolderTest, YesWithPatternsScansTheFolderAndItsSubfolders) {
  EXPECT_EQ(Gather({IDYES, L"*.RM;*.rmvb"}),
            Full({L"a.rm", L"b.rmvb", L"sub\\c.rm", L"sub\\d.RMVB"}));
  // Without a "." the answer is looked for anywhere in the name.
  EXPECT_EQ(Gather({IDYES, L"rm"}), Full({L"a.rm", L"b.rmvb", L"sub\\c.rm", L"sub\\d.RMVB"}));
  EXPECT_EQ(Gather({IDYES, L"txt"}), Full({L"e.txt", L"sub\\f.txt"}));
  // The picked files are dropped even when the scan finds nothing.
  EXPECT_EQ(Gather({IDYES, L"*.avi"}), Paths{});
}

TEST_F(ListFilesFromFolderTest, WithoutTheOfferOrWithACancelledDialogNothingIsAsked) {
  EXPECT_EQ(Gather({}, false), Full({L"a.rm", L"b.rmvb"}));
  EXPECT_FALSE(seen_.question);

  bool asked = false;
  {
    DialogDriver driver([&](DWORD gui) {
      HWND dialog = WaitForDialog(gui);
      if (dialog == nullptr) return;
      Press(dialog, IDCANCEL);
      asked = WaitForDialog(gui, dialog, 1) != nullptr;
    });
    EXPECT_EQ(ListFilesFromFolder(L"", L"", true, RealInputBox), L"");
  }
  EXPECT_FALSE(asked);
}

TEST_F(ListFilesFromFolderTest, AGivenFolderIsScannedWithoutAskingWithItsStatusInTheCaption) {
  // The window the user works in shows the scan's status in its caption while the scan runs.
  std::wstring captionDuringScan;
  HWND active = nullptr;
  testing_win::AppMessageWindow window([&](UINT) {
    wchar_t caption[256] = {};
    GetWindowTextW(active, caption, 256);
    captionDuringScan = caption;
  });
  active = window.Handle();
  ShowWindow(active, SW_SHOW);
  SetActiveWindow(active);
  ASSERT_EQ(GetActiveWindow(), active);
  PostMessageW(active, WM_APP, 0, 0);

  const std::wstring batch = ListFilesFromFolder(root_.Path(), L"*.txt", true, RealInputBox);
  EXPECT_EQ(captionDuringScan, L"test - 正在扫描文件...");
  wchar_t after[256] = {};
  GetWindowTextW(active, after, 256);
  EXPECT_EQ(std::wstring(after), L"test");

  Paths paths = SplitBatch(batch, kBatchSeparator);
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, Full({L"e.txt", L"sub\\f.txt"}));
  EXPECT_EQ(ListFilesFromFolder(root_.Path(), L"", true, RealInputBox), L"");
}

}  // namespace
}  // namespace files
