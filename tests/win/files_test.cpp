#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "files/make_path.h"
#include "files/write_text_file.h"
#include "test_support.h"

namespace files {
namespace {

using testing_win::FileExists;
using testing_win::FolderExists;
using testing_win::ReadBytes;
using testing_win::ScratchFolder;
using testing_win::WriteBytes;

TEST(MakePath, CreatesEveryMissingFolderBelowAnExistingOne) {
  ScratchFolder root;
  MakePath(root / L"y\\z");
  EXPECT_TRUE(FolderExists(root / L"y"));
  EXPECT_TRUE(FolderExists(root / L"y\\z"));
  MakePath(root / L"电影\\新 片\\");
  EXPECT_TRUE(FolderExists(root / L"电影\\新 片"));
}

TEST(MakePath, LeavesExistingPathsAlone) {
  ScratchFolder root;
  ASSERT_TRUE(WriteBytes(root / L"keep.txt", "x"));
  MakePath(root.Path());
  MakePath(root.Path() + L"\\");
  EXPECT_EQ(ReadBytes(root / L"keep.txt"), "x");
  // A path that names a file is there already, and nothing is made below it.
  MakePath(root / L"keep.txt");
  MakePath(root / L"keep.txt\\sub");
  EXPECT_TRUE(FileExists(root / L"keep.txt"));
  EXPECT_FALSE(FolderExists(root / L"keep.txt\\sub"));
  // A drive that is not there is a failure to ignore.
  for (wchar_t drive = L'Q'; drive <= L'Y'; ++drive) {
    const std::wstring rootPath = std::wstring(1, drive) + L":\\";
    if (GetDriveTypeW(rootPath.c_str()) == DRIVE_NO_ROOT_DIR) {
      MakePath(rootPath + L"x\\y");
      EXPECT_FALSE(FolderExists(rootPath + L"x"));
      break;
    }
  }
}

TEST(MakePath, CreatesRelativePathsInTheCurrentFolder) {
  ScratchFolder root;
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(root.Path().c_str()));
  MakePath(L"a\\b");
  SetCurrentDirectoryW(previous);
  EXPECT_TRUE(FolderExists(root / L"a\\b"));
}

// Wine maps \\server\share\... to <prefix>/dosdevices/unc/server/share/..., and creates the
// server and share folders there when asked. That makes "never creates the server or the share"
// visible: the folders appear on the Unix side, under Z:.
class NetworkPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t prefix[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH) == 0) {
      GTEST_SKIP() << "needs Wine's mapping of network paths";
    }
    std::wstring dosPrefix = std::wstring(L"Z:") + prefix;
    for (wchar_t& c : dosPrefix) {
      if (c == L'/') c = L'\\';
    }
    unc_ = dosPrefix + L"\\dosdevices\\unc";
    madeUnc_ = CreateDirectoryW(unc_.c_str(), nullptr) != FALSE;
    ASSERT_TRUE(FolderExists(unc_));
    tag_ = std::to_wstring(GetCurrentProcessId());
  }
  void TearDown() override {
    if (unc_.empty()) return;
    testing_win::RemoveTree(unc_ + L"\\qsrv" + tag_);
    testing_win::RemoveTree(unc_ + L"\\qnosrv" + tag_);
    if (madeUnc_) RemoveDirectoryW(unc_.c_str());
  }

  std::wstring unc_;
  std::wstring tag_;
  bool madeUnc_ = false;
};

TEST_F(NetworkPaths, CreateFoldersOnlyBelowTheShare) {
  const std::wstring share = unc_ + L"\\qsrv" + tag_ + L"\\share";
  ASSERT_TRUE(CreateDirectoryW((unc_ + L"\\qsrv" + tag_).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(share.c_str(), nullptr));
  MakePath(L"\\\\qsrv" + tag_ + L"\\share\\x\\y");
  EXPECT_TRUE(FolderExists(share + L"\\x\\y"));
  EXPECT_TRUE(FolderExists(L"\\\\qsrv" + tag_ + L"\\share\\x\\y"));

  // With no such server, nothing may appear: neither the server nor the share is ever made.
  MakePath(L"\\\\qnosrv" + tag_ + L"\\noshare\\x");
  MakePath(L"\\\\qnosrv" + tag_ + L"\\noshare");
  MakePath(L"\\\\qnosrv" + tag_);
  EXPECT_FALSE(FolderExists(unc_ + L"\\qnosrv" + tag_));
}

TEST(WriteTextFile, WritesTheCodePageBytesWithNothingAdded) {
  ScratchFolder root;
  const std::wstring file = root / L"Go.bat";
  ASSERT_TRUE(WriteTextFile(file, L"清除\r\n", false));
  EXPECT_EQ(ReadBytes(file), "\xC7\xE5\xB3\xFD\r\n");
  ASSERT_TRUE(WriteTextFile(file, L"a", false));
  EXPECT_EQ(ReadBytes(file), "a");
}

TEST(WriteTextFile, ReplacesOrAppends) {
  ScratchFolder root;
  const std::wstring file = root / L"运行.txt";
  ASSERT_TRUE(WriteBytes(file, "old content that is longer\r\n"));
  ASSERT_TRUE(WriteTextFile(file, L"新", false));
  EXPECT_EQ(ReadBytes(file), "\xD0\xC2");
  ASSERT_TRUE(WriteTextFile(file, L"清除", true));
  EXPECT_EQ(ReadBytes(file), "\xD0\xC2\xC7\xE5\xB3\xFD");
  ASSERT_TRUE(WriteTextFile(file, L"", false));
  EXPECT_EQ(ReadBytes(file), "");
  // Appending to a missing file creates it.
  ASSERT_TRUE(WriteTextFile(root / L"new.txt", L"x\r\n", true));
  EXPECT_EQ(ReadBytes(root / L"new.txt"), "x\r\n");
}

TEST(WriteTextFile, ReportsFilesItCannotWrite) {
  ScratchFolder root;
  EXPECT_FALSE(WriteTextFile(root / L"missing\\Go.bat", L"x", false));
  EXPECT_FALSE(WriteTextFile(root / L"missing\\Go.bat", L"x", true));
  EXPECT_FALSE(WriteTextFile(root.Path(), L"x", false));
  EXPECT_FALSE(FolderExists(root / L"missing"));
}

}  // namespace
}  // namespace files
