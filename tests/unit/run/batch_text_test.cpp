#include "run/batch_text.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace run {
namespace {

TEST(BatchText, TheTwoEntryExampleComesOutByteForByte) {
  const std::wstring expected =
      L"echo rem > \"C:\\TEMP\\Event.txt\"\r\n"
      L"\"C:\\TEMP\\rmevents.exe\" -i \"D:\\v\\a.rm\" -o \"D:\\v\\a.rm.tmp\" -e "
      L"\"C:\\TEMP\\Event.txt\" >\"C:\\TEMP\\ret.txt\"\r\n"
      L"\"C:\\TEMP\\rmevents.exe\" -i \"D:\\v\\b.rmvb\" -o \"D:\\v\\b.rmvb.tmp\" -e "
      L"\"C:\\TEMP\\Event.txt\" >>\"C:\\TEMP\\ret.txt\"\r\n";
  EXPECT_EQ(BatchText(L"C:\\TEMP", {L"D:\\v\\a.rm", L"D:\\v\\b.rmvb"}), expected);
}

TEST(BatchText, EveryEntryAfterTheFirstAppendsToTheReport) {
  const std::wstring text = BatchText(L"T", {L"a", L"a", L"", L"b"});
  EXPECT_EQ(text,
            L"echo rem > \"T\\Event.txt\"\r\n"
            L"\"T\\rmevents.exe\" -i \"a\" -o \"a.tmp\" -e \"T\\Event.txt\" >\"T\\ret.txt\"\r\n"
            L"\"T\\rmevents.exe\" -i \"a\" -o \"a.tmp\" -e \"T\\Event.txt\" >>\"T\\ret.txt\"\r\n"
            L"\"T\\rmevents.exe\" -i \"\" -o \".tmp\" -e \"T\\Event.txt\" >>\"T\\ret.txt\"\r\n"
            L"\"T\\rmevents.exe\" -i \"b\" -o \"b.tmp\" -e \"T\\Event.txt\" >>\"T\\ret.txt\"\r\n");
}

TEST(BatchText, AnEmptyListGivesTheEventsFileLineAlone) {
  EXPECT_EQ(BatchText(L"C:\\TEMP", {}), L"echo rem > \"C:\\TEMP\\Event.txt\"\r\n");
  // An unset TMP is an empty folder text, used as it is.
  EXPECT_EQ(BatchText(L"", {}), L"echo rem > \"\\Event.txt\"\r\n");
}

TEST(BatchText, PercentSignsAreDoubledInTheEntriesAndTheFolder) {
  // cmd would expand %TMP% inside the quotes and turn "50%" plus a later "%" into a variable.
  EXPECT_EQ(ToolLine(L"C:\\T", L"D:\\100% 好\\b%TMP%c.rm", true),
            L"\"C:\\T\\rmevents.exe\" -i \"D:\\100%% 好\\b%%TMP%%c.rm\" -o "
            L"\"D:\\100%% 好\\b%%TMP%%c.rm.tmp\" -e \"C:\\T\\Event.txt\" >\"C:\\T\\ret.txt\"\r\n");
  EXPECT_EQ(
      ToolLine(L"T", L"%%", false),
      L"\"T\\rmevents.exe\" -i \"%%%%\" -o \"%%%%.tmp\" -e \"T\\Event.txt\" >>\"T\\ret.txt\"\r\n");
  // A user's TMP may hold "%" too ("C:\\100%\\x%USERNAME%"): unescaped, cmd would name another
  // folder.
  EXPECT_EQ(EventsFileLine(L"C:\\a%b"), L"echo rem > \"C:\\a%%b\\Event.txt\"\r\n");
  EXPECT_EQ(ToolLine(L"C:\\%x%", L"a", true),
            L"\"C:\\%%x%%\\rmevents.exe\" -i \"a\" -o \"a.tmp\" -e \"C:\\%%x%%\\Event.txt\" "
            L">\"C:\\%%x%%\\ret.txt\"\r\n");
}

TEST(BatchText, OtherCharactersGoInAsTheyAre) {
  // Quotes keep blanks and cmd's other special characters literal; Chinese becomes code page 936
  // only when the text is written.
  const std::wstring entry = L"D:\\片 名\\a&b^c(1)!x.rmvb";
  EXPECT_EQ(ToolLine(L"C:\\临时 目录", entry, true),
            L"\"C:\\临时 目录\\rmevents.exe\" -i \"" + entry + L"\" -o \"" + entry +
                L".tmp\" -e \"C:\\临时 目录\\Event.txt\" >\"C:\\临时 目录\\ret.txt\"\r\n");
}

TEST(RunFileNames, AreBuiltOnTheFolderAndEntryAsTheyStand) {
  EXPECT_EQ(BatchFilePath(L"C:\\TEMP"), L"C:\\TEMP\\Go.bat");
  EXPECT_EQ(BatchFilePath(L"C:\\TEMP\\"), L"C:\\TEMP\\\\Go.bat");
  EXPECT_EQ(BatchFilePath(L""), L"\\Go.bat");
  EXPECT_EQ(NotepadCommandLine(L"C:\\临时 目录"), L"notepad \"C:\\临时 目录\\ret.txt\"");
  EXPECT_EQ(CleanedCopyPath(L"D:\\v\\a.rm"), L"D:\\v\\a.rm.tmp");
}

}  // namespace
}  // namespace run
