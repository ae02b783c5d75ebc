// DivideFile on real files: Chinese folder and entry names in code page 936, subfolders made on
// the way, absolute names, replaced files, and the failures that stop a division.
#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "platform/unique_handle.h"
#include "startup/divide_file.h"
#include "startup_win_support.h"
#include "test_support.h"

namespace startup_win_test {
namespace {

using testing_win::FileExists;
using testing_win::FolderExists;
using testing_win::ReadBytes;
using testing_win::ScratchFolder;
using testing_win::WriteBytes;

int Divide(const std::wstring& source, const std::wstring& target, std::wstring& list) {
  return startup::DivideFile(source, target, std::span<const std::uint8_t>(), list);
}

TEST(DivideFile, WritesEveryEntryWhereItsNameSays) {
  ASSERT_EQ(GetACP(), 936u) << "entry names are read in the ANSI code page";
  ScratchFolder scratch;
  const std::wstring target = scratch / L"目标 文件夹";  // missing yet, no trailing "\"
  const std::wstring absolute = scratch / L"别处\\深\\y.dll";
  const std::string image = Filler(70'000, 'i');
  const std::string tool = Filler(1234, 't');
  const std::string notes = "说明 in GBK";
  const std::wstring container = scratch / L"容器.exe";
  ASSERT_TRUE(WriteBytes(container, Container({{image, "a.bin"},
                                               {tool, "rmevents.exe"},
                                               {notes, Ansi(L"子目录\\说明.txt")},
                                               {"", "empty.dat"},
                                               {"dll", Ansi(absolute)}})));
  // A longer file in the way is cut to the entry's content, a hidden one too.
  ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
  ASSERT_TRUE(WriteBytes(target + L"\\a.bin", Filler(90'000, 'o')));
  ASSERT_TRUE(WriteBytes(target + L"\\rmevents.exe", Filler(5000, 'o')));
  ASSERT_TRUE(SetFileAttributesW((target + L"\\rmevents.exe").c_str(), FILE_ATTRIBUTE_HIDDEN));

  std::wstring list = L"before\r\n";
  EXPECT_EQ(Divide(container, target, list), 5);
  EXPECT_EQ(ReadBytes(target + L"\\a.bin"), image);
  EXPECT_EQ(ReadBytes(target + L"\\rmevents.exe"), tool);
  EXPECT_EQ(ReadBytes(target + L"\\子目录\\说明.txt"), notes);
  EXPECT_TRUE(FileExists(target + L"\\empty.dat"));
  EXPECT_EQ(ReadBytes(target + L"\\empty.dat"), "");
  EXPECT_EQ(ReadBytes(absolute), "dll");
  EXPECT_EQ(list, L"before\r\n" + target + L"\\a.bin\r\n" + target + L"\\rmevents.exe\r\n" +
                      target + L"\\子目录\\说明.txt\r\n" + target + L"\\empty.dat\r\n" + absolute +
                      L"\r\n");
}

TEST(DivideFile, FailuresReturnZeroAndKeepWhatWasWritten) {
  ScratchFolder scratch;
  const std::wstring target = scratch.Path() + L"\\";
  const std::wstring container = scratch / L"c.bin";
  ASSERT_TRUE(WriteBytes(
      container, Container({{"first", "one.bin"}, {"second", "two.bin"}, {"third", "three.bin"}})));
  std::wstring list;
  EXPECT_EQ(Divide(scratch / L"missing.exe", target, list), 0);
  EXPECT_EQ(Divide(L"", target, list), 0);
  EXPECT_EQ(Divide(container, L"", list), 0);
  EXPECT_EQ(list, L"");

  // A folder where the second file belongs cannot be written over: the division stops there.
  ASSERT_TRUE(CreateDirectoryW((scratch / L"two.bin").c_str(), nullptr));
  EXPECT_EQ(Divide(container, target, list), 0);
  EXPECT_EQ(ReadBytes(scratch / L"one.bin"), "first");
  EXPECT_TRUE(FolderExists(scratch / L"two.bin"));
  EXPECT_FALSE(FileExists(scratch / L"three.bin"));
  EXPECT_EQ(list, target + L"one.bin\r\n" + target + L"two.bin\r\n");

  // A name length with its high byte at 0x80 stops it too.
  const std::string bad = Container({{"kept", "kept.bin"}}) + "tool" + MarkerBytes() +
                          std::string("\x02\x80zz", 4) + Container({{"never", "never.bin"}});
  ASSERT_TRUE(WriteBytes(container, bad));
  EXPECT_EQ(Divide(container, target, list), 0);
  EXPECT_EQ(ReadBytes(scratch / L"kept.bin"), "kept");
  EXPECT_FALSE(FileExists(scratch / L"never.bin"));
}

// Names of the temporary files a division keeps large contents in, in `folder`.
std::vector<std::wstring> SpillFiles(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  const platform::UniqueFindHandle find(FindFirstFileW((folder + L"\\qxd*.tmp").c_str(), &entry));
  if (find) {
    do names.push_back(entry.cFileName);
    while (FindNextFileW(find.Get(), &entry));
  }
  return names;
}

std::wstring SystemTempFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, path);
  return path;
}

// Contents larger than what a division holds in memory pass through temporary files; none may
// stay behind, whether the entry is written, refused or never completed.
TEST(DivideFile, LargeContentsLeaveNoTemporaryFiles) {
  ScratchFolder scratch;
  // Missing, so large contents wait in the system's temporary folder.
  const std::wstring target = scratch / L"新\\目标";
  const std::string image = Filler(300'000, 'i');
  const std::string other = Filler(200'000, 'o');
  const std::wstring container = scratch / L"c.bin";
  const std::size_t tempBefore = SpillFiles(SystemTempFolder()).size();
  ASSERT_TRUE(WriteBytes(container, Container({{image, "a.bin"}, {other, "b\\b.bin"}}) + other));
  std::wstring list;
  EXPECT_EQ(Divide(container, target, list), 2);
  EXPECT_EQ(ReadBytes(target + L"\\a.bin"), image);
  EXPECT_EQ(ReadBytes(target + L"\\b\\b.bin"), other);
  EXPECT_EQ(SpillFiles(target), std::vector<std::wstring>{});
  EXPECT_EQ(SpillFiles(SystemTempFolder()).size(), tempBefore);

  // Now the target exists, and the second entry cannot be written over a folder.
  ASSERT_TRUE(DeleteFileW((target + L"\\b\\b.bin").c_str()));
  ASSERT_TRUE(CreateDirectoryW((target + L"\\b\\b.bin").c_str(), nullptr));
  EXPECT_EQ(Divide(container, target, list), 0);
  EXPECT_EQ(ReadBytes(target + L"\\a.bin"), image);
  EXPECT_EQ(SpillFiles(target), std::vector<std::wstring>{});
  EXPECT_EQ(SpillFiles(target + L"\\b"), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace startup_win_test
