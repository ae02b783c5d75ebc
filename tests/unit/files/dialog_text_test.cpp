#include "files/dialog_text.h"

#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace files {
namespace {

using namespace std::string_view_literals;

// What the dialog leaves in the file buffer: its own text over the start of the buffer it was
// given, the rest of the buffer still as filled.
std::wstring AfterDialog(std::wstring_view written, std::wstring_view lastPath = L"") {
  std::wstring buffer = InitialFileBuffer(lastPath);
  buffer.replace(0, written.size(), written);
  return buffer;
}

// NULs shown as "|" in failure messages.
std::wstring Visible(std::wstring_view text) {
  std::wstring shown(text);
  for (wchar_t& c : shown) c = c == L'\0' ? L'|' : c;
  return shown;
}

TEST(SplitMultiSelection, PutsTheFolderInFrontOfEachName) {
  struct Case {
    std::wstring_view selection;
    std::wstring_view paths;
    std::wstring_view folder;
  };
  const Case cases[] = {
      {L"C:\\v\0a.rm\0b.rm\0"sv, L"C:\\v\\a.rm\0C:\\v\\b.rm"sv, L"C:\\v\\"},
      {L"C:\\v\0a.rm\0b.rm\0\0"sv, L"C:\\v\\a.rm\0C:\\v\\b.rm"sv, L"C:\\v\\"},
      {L"C:\\v\0a.rm\0b.rm"sv, L"C:\\v\\a.rm\0C:\\v\\b.rm"sv, L"C:\\v\\"},
      // The root of a drive already ends in "\".
      {L"C:\\\0a.rm\0b.rm\0"sv, L"C:\\a.rm\0C:\\b.rm"sv, L"C:\\"},
      // Names that hold a "\" stay; only the others get the folder.
      {L"C:\\v\0a.rm\0D:\\w\\b.rm\0c.rm"sv, L"C:\\v\\a.rm\0D:\\w\\b.rm\0C:\\v\\c.rm"sv, L"C:\\v\\"},
      // One file: its full path, and the folder up to its last "\".
      {L"C:\\v\\a.rm\0"sv, L"C:\\v\\a.rm"sv, L"C:\\v\\"},
      {L"C:\\v\\a.rm"sv, L"C:\\v\\a.rm"sv, L"C:\\v\\"},
      {L"a.rm"sv, L"a.rm"sv, L""},
      {L""sv, L""sv, L""},
      {L"\\\\srv\\share\\电影\0片.rm\0"sv, L"\\\\srv\\share\\电影\\片.rm"sv,
       L"\\\\srv\\share\\电影\\"},
  };
  for (const Case& c : cases) {
    std::wstring selection(c.selection);
    EXPECT_EQ(SplitMultiSelection(selection), c.folder) << Visible(c.selection);
    EXPECT_EQ(selection, c.paths) << Visible(c.selection);
  }
}

TEST(ReadDialogBuffer, ManyFilesGivesFullPathsAndRemembersFolderAndLastPath) {
  DialogMemory memory;
  const DialogReading reading =
      ReadDialogBuffer(kDialogOpenMany, AfterDialog(L"C:\\v\0a.rm\0b.rm\0\0"sv), memory);
  EXPECT_EQ(reading.result, L"C:\\v\\a.rm\0C:\\v\\b.rm"sv);
  EXPECT_FALSE(reading.tooManyFiles);
  EXPECT_EQ(memory.lastDir, L"C:\\v\\");
  EXPECT_EQ(memory.lastPath, L"C:\\v\\b.rm");

  // One file picked in the same mode.
  const DialogReading single =
      ReadDialogBuffer(kDialogOpenMany, AfterDialog(L"D:\\片\\a.rm\0\0"sv), memory);
  EXPECT_EQ(single.result, L"D:\\片\\a.rm");
  EXPECT_EQ(memory.lastDir, L"D:\\片\\");
  EXPECT_EQ(memory.lastPath, L"D:\\片\\a.rm");
}

TEST(ReadDialogBuffer, CancelledManyFilesForgetsBoth) {
  DialogMemory memory{L"C:\\v\\", L"C:\\v\\b.rm"};
  // Cancelled: the buffer is as it was filled, so it holds no pair of NULs.
  const DialogReading reading =
      ReadDialogBuffer(kDialogOpenMany, InitialFileBuffer(memory.lastPath), memory);
  EXPECT_EQ(reading.result, L"");
  EXPECT_FALSE(reading.tooManyFiles);
  EXPECT_EQ(memory.lastDir, L"");
  EXPECT_EQ(memory.lastPath, L"");
}

TEST(ReadDialogBuffer, ASelectionWithoutAFolderOrWithCharacterOneIsDropped) {
  DialogMemory memory{L"C:\\v\\", L"C:\\v\\b.rm"};
  DialogReading reading = ReadDialogBuffer(kDialogOpenMany, AfterDialog(L"a.rm\0\0"sv), memory);
  EXPECT_EQ(reading.result, L"");
  EXPECT_FALSE(reading.tooManyFiles);
  EXPECT_EQ(memory.lastDir, L"");

  // The dialog found the selection too long for the buffer: the same as the character 1.
  memory = {L"C:\\v\\", L"C:\\v\\b.rm"};
  reading = ReadDialogBuffer(kDialogOpenMany, AfterDialog(L"C:\\v\0a\0\0"sv), memory, true);
  EXPECT_EQ(reading.result, L"");
  EXPECT_TRUE(reading.tooManyFiles);
  EXPECT_EQ(memory.lastDir, L"");

  reading = ReadDialogBuffer(kDialogOpenMany, AfterDialog(L"\x01\x09:\\v\0a\0\0"sv), memory);
  EXPECT_EQ(reading.result, L"");
  EXPECT_TRUE(reading.tooManyFiles);
  EXPECT_EQ(memory.lastDir, L"");
  EXPECT_EQ(memory.lastPath, L"");
}

TEST(ReadDialogBuffer, OneFileAndSaveTakeTheTrimmedPathAndItsParent) {
  for (const int mode : {kDialogOpenOne, kDialogSave}) {
    DialogMemory memory;
    DialogReading reading = ReadDialogBuffer(mode, AfterDialog(L"C:\\v\\a.rm\0"sv), memory);
    EXPECT_EQ(reading.result, L"C:\\v\\a.rm");
    EXPECT_EQ(memory.lastDir, L"C:\\v");
    EXPECT_EQ(memory.lastPath, L"C:\\v\\a.rm");

    // Cancelled: the remembered path comes back, trimmed.
    reading = ReadDialogBuffer(mode, InitialFileBuffer(memory.lastPath), memory);
    EXPECT_EQ(reading.result, L"C:\\v\\a.rm");
    EXPECT_EQ(memory.lastDir, L"C:\\v");

    DialogMemory fresh;
    reading = ReadDialogBuffer(mode, InitialFileBuffer(L""), fresh);
    EXPECT_EQ(reading.result, L"");
    EXPECT_EQ(fresh.lastDir, L"");
    EXPECT_EQ(fresh.lastPath, L"");
  }
}

TEST(ReadDialogBuffer, OtherModesChooseNothingAndForgetNothing) {
  for (const int mode : {3, -1}) {
    DialogMemory memory{L"C:\\v\\", L"C:\\v\\b.rm"};
    const DialogReading reading = ReadDialogBuffer(mode, AfterDialog(L"C:\\w\\x\0\0"sv), memory);
    EXPECT_EQ(reading.result, L"");
    EXPECT_EQ(memory.lastDir, L"C:\\v\\");
    EXPECT_EQ(memory.lastPath, L"C:\\v\\b.rm");
  }
}

TEST(DialogSetUp, RemembersTheFolderOfThePathAndPadsTheBuffer) {
  DialogMemory memory{L"", L"C:\\v\\b.rm"};
  PrepareDialogMemory(memory);
  EXPECT_EQ(memory.lastDir, L"C:\\v\\");
  memory = {L"D:\\w", L"C:\\v\\b.rm"};
  PrepareDialogMemory(memory);
  EXPECT_EQ(memory.lastDir, L"D:\\w");
  memory = {L"", L"b.rm"};
  PrepareDialogMemory(memory);
  EXPECT_EQ(memory.lastDir, L"");

  EXPECT_EQ(InitialFileBuffer(L""), std::wstring(kFileBufferCapacity, L' '));
  const std::wstring longPath(400, L'x');
  EXPECT_EQ(InitialFileBuffer(longPath), longPath + std::wstring(kFileBufferPadding, L' '));

  EXPECT_EQ(FilterList(kDefaultFilter), L"所有文件\0*.*\0\0"sv);
  EXPECT_EQ(FilterList(L"影片|*.rm;*.rmvb|所有文件|*.*"),
            L"影片\0*.rm;*.rmvb\0所有文件\0*.*\0\0"sv);
}

}  // namespace
}  // namespace files
