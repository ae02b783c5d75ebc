#include "files/file_dialog.h"

#include <string>
#include <string_view>

#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include "dialog_driver.h"
#include "test_support.h"

namespace files {
namespace {

using namespace std::string_view_literals;
using testing_win::DialogDriver;
using testing_win::Press;
using testing_win::ScratchFolder;
using testing_win::WaitForDialog;
using testing_win::WaitUntilClosed;

constexpr int kFilterBox = 0x470;  // cmb1, the file type box

void MakeFiles(const std::wstring& folder, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* name : names) {
    ASSERT_TRUE(testing_win::WriteBytes(folder + L"\\" + name, "x")) << name;
  }
}

// The dialog is the narrow one, so it answers in the ANSI code page.
std::wstring CurrentFolder(HWND dialog) {
  char folder[MAX_PATH * 2] = {};
  SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof(folder), reinterpret_cast<LPARAM>(folder));
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, folder, -1, wide, MAX_PATH);
  return wide;
}

// What a driver saw of the dialog it worked.
struct Seen {
  bool dialog = false;
  std::wstring title;
  std::wstring filter;
  std::wstring startFolder;
};

// The next dialog to open, noted in `seen`; null when none opens.
HWND Observe(DWORD gui, Seen& seen) {
  HWND dialog = WaitForDialog(gui);
  if (dialog == nullptr) return nullptr;
  seen.dialog = true;
  wchar_t title[256] = {};
  GetWindowTextW(dialog, title, 256);
  seen.title = title;
  seen.filter = testing_win::ControlText(dialog, kFilterBox);
  seen.startFolder = CurrentFolder(dialog);
  return dialog;
}

// Opens the multi-select dialog, goes to `folder` and picks `names`.
std::wstring PickMany(const std::wstring& folder, const std::wstring& names, Seen& seen) {
  DialogDriver driver([&](DWORD gui) {
    if (HWND dialog = Observe(gui, seen)) {
      if (testing_win::PickInFolder(dialog, folder, names)) WaitUntilClosed(dialog);
    }
  });
  std::wstring filter(kDefaultFilterName);
  std::wstring result = ShowFileDialog(kDialogOpenMany, filter, L"选择文件(可多选)", L"");
  EXPECT_EQ(filter, kDefaultFilter);
  return result;
}

std::wstring CancelDialog(int mode, Seen& seen, const std::wstring& title = L"") {
  DialogDriver driver([&](DWORD gui) {
    if (HWND dialog = Observe(gui, seen)) {
      Press(dialog, IDCANCEL);
      WaitUntilClosed(dialog);
    }
  });
  std::wstring filter = L"影片|*.rm;*.rmvb|所有文件|*.*";
  return ShowFileDialog(mode, filter, title, L"");
}

class ShowFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { RememberedDialog() = {}; }
  void TearDown() override { RememberedDialog() = {}; }
};

TEST_F(ShowFileDialogTest, SeveralNamesBecomeFullPathsAndTheFolderIsRemembered) {
  ScratchFolder root;
  const std::wstring folder = root / L"电影";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  MakeFiles(folder, {L"片1.rm", L"b.rmvb", L"c.rm"});

  Seen seen;
  const std::wstring result = PickMany(folder, L"\"片1.rm\" \"c.rm\"", seen);
  ASSERT_TRUE(seen.dialog);
  EXPECT_EQ(seen.title, L"选择文件(可多选)");
  EXPECT_EQ(seen.filter, L"所有文件");
  EXPECT_EQ(result, folder + L"\\片1.rm" + L'\0' + folder + L"\\c.rm");
  EXPECT_EQ(RememberedDialog().lastDir, folder + L"\\");
  EXPECT_EQ(RememberedDialog().lastPath, folder + L"\\c.rm");

  // The next dialog opens in the remembered folder; one file picked in it is one full path.
  Seen next;
  const std::wstring single = PickMany(folder, L"b.rmvb", next);
  EXPECT_EQ(next.startFolder, folder);
  EXPECT_EQ(single, folder + L"\\b.rmvb");
  EXPECT_EQ(RememberedDialog().lastDir, folder + L"\\");
  EXPECT_EQ(RememberedDialog().lastPath, folder + L"\\b.rmvb");
}

TEST_F(ShowFileDialogTest, FilesInTheRootOfADriveGetNoDoubledSeparator) {
  const std::wstring a = L"C:\\quellin-root-" + std::to_wstring(GetCurrentProcessId()) + L"-a.rm";
  const std::wstring b = L"C:\\quellin-root-" + std::to_wstring(GetCurrentProcessId()) + L"-b.rm";
  ASSERT_TRUE(testing_win::WriteBytes(a, "x"));
  ASSERT_TRUE(testing_win::WriteBytes(b, "x"));
  Seen seen;
  const std::wstring result =
      PickMany(L"C:\\", L"\"" + a.substr(3) + L"\" \"" + b.substr(3) + L"\"", seen);
  DeleteFileW(a.c_str());
  DeleteFileW(b.c_str());
  EXPECT_EQ(result, a + L'\0' + b);
  EXPECT_EQ(RememberedDialog().lastDir, L"C:\\");
}

TEST_F(ShowFileDialogTest, TooManyFilesIsToldAndGivesNothing) {
  ScratchFolder root;
  std::wstring names;
  for (int i = 0; i < 100; ++i) {
    const std::wstring name = L"a-rather-long-name-for-a-film-" + std::to_wstring(i) + L".rm";
    ASSERT_TRUE(testing_win::WriteBytes(root / name, "x"));
    names += L"\"" + name + L"\" ";
  }
  std::wstring message;
  DialogDriver driver([&](DWORD gui) {
    HWND dialog = WaitForDialog(gui);
    if (dialog == nullptr) return;
    if (!testing_win::PickInFolder(dialog, root.Path(), names)) return;
    HWND box = WaitForDialog(gui, dialog);
    if (box == nullptr) return;
    message = testing_win::MessageBoxText(box);
    Press(box, IDOK);
  });
  std::wstring filter(kDefaultFilterName);
  EXPECT_EQ(ShowFileDialog(kDialogOpenMany, filter, L"选择文件(可多选)", L""), L"");
  EXPECT_EQ(message, L"文件选取过多。");
  EXPECT_EQ(RememberedDialog().lastDir, L"");
  EXPECT_EQ(RememberedDialog().lastPath, L"");
}

TEST_F(ShowFileDialogTest, CancelForgetsInManyModeAndGivesTheRememberedPathBackOtherwise) {
  ScratchFolder root;
  const std::wstring remembered = root / L"a.rm";
  ASSERT_TRUE(testing_win::WriteBytes(remembered, "x"));

  for (const int mode : {kDialogOpenOne, kDialogSave}) {
    RememberedDialog() = {L"", remembered};
    Seen seen;
    EXPECT_EQ(CancelDialog(mode, seen), remembered) << "mode " << mode;
    EXPECT_TRUE(seen.dialog);
    // No title given: the dialog shows its own.
    EXPECT_NE(seen.title, L"");
    EXPECT_EQ(RememberedDialog().lastDir, root.Path());
    EXPECT_EQ(RememberedDialog().lastPath, remembered);
  }

  RememberedDialog() = {};
  Seen first;
  EXPECT_EQ(CancelDialog(kDialogOpenOne, first, L"挑一个"), L"");
  EXPECT_EQ(first.title, L"挑一个");

  RememberedDialog() = {root.Path() + L"\\", remembered};
  Seen many;
  EXPECT_EQ(CancelDialog(kDialogOpenMany, many), L"");
  EXPECT_TRUE(many.dialog);
  EXPECT_EQ(RememberedDialog().lastDir, L"");
  EXPECT_EQ(RememberedDialog().lastPath, L"");
}

TEST_F(ShowFileDialogTest, OtherModesShowNothing) {
  for (const int mode : {3, -1}) {
    RememberedDialog() = {L"", L"C:\\v\\b.rm"};
    Seen seen;
    std::wstring filter(kDefaultFilterName);
    {
      DialogDriver watch([&](DWORD gui) {
        HWND dialog = WaitForDialog(gui, nullptr, 1);
        seen.dialog = dialog != nullptr;
        if (dialog != nullptr) Press(dialog, IDCANCEL);
      });
      EXPECT_EQ(ShowFileDialog(mode, filter, L"", L""), L"") << "mode " << mode;
    }
    EXPECT_FALSE(seen.dialog) << "mode " << mode;
    // The folder is still derived from the path before the mode is looked at.
    EXPECT_EQ(RememberedDialog().lastDir, L"C:\\v\\");
    EXPECT_EQ(filter, kDefaultFilter);
  }
}

}  // namespace
}  // namespace files
