// The section a run appends to ret.txt, and how it reads the tool's lines for films left alone.
#include <gtest/gtest.h>

#include "run/batch_text.h"
#include "run/film_outcome.h"

namespace run_test {
namespace {

using run::Outcome;

TEST(OutcomeSection, OneLinePerEntryInListOrderThenTheCounts) {
  const std::wstring section = run::OutcomeSection({
      {L"D:\\v\\a.rm", Outcome::kReplaced, L"D:\\v\\a.rm.tmp"},
      {L"D:\\v\\b.rm", Outcome::kHeld, L"D:\\v\\b.rm.tmp"},
      {L"D:\\v\\c.rm", Outcome::kNoCopy, L""},
      {L"D:\\v\\d.rm", Outcome::kNoEvents, L""},
      {L"D:\\v\\e.rm", Outcome::kCopyKept, L"D:\\v\\e.rm.tmp"},
  });
  EXPECT_EQ(section,
            L"\r\n清除结果（共 5 个文件）：\r\n"
            L"  D:\\v\\a.rm：已清除，已替换原文件\r\n"
            L"  D:\\v\\b.rm：未替换：原文件正被其他程序使用，清除后的副本留在 D:\\v\\b.rm.tmp\r\n"
            L"  D:\\v\\c.rm：未清除：工具没有写出副本（见上面工具的输出）\r\n"
            L"  D:\\v\\d.rm：文件中没有事件，未改动\r\n"
            L"  D:\\v\\e.rm：已清除，副本保存为 D:\\v\\e.rm.tmp\r\n"
            L"合计：已清除 2 个（其中已替换原文件 1 个），没有事件 1 个，未清除 1 个，"
            L"已清除但未替换 1 个。\r\n");
  EXPECT_EQ(run::OutcomeSection({}), L"") << "an empty list appends nothing";
}

TEST(ReportSaysNoEvents, OnlyTheLineWithinThatFilmsOwnLinesCounts) {
  const std::wstring report =
      L"输入文件：D:\\a.rm\r\n输入大小：10 字节\r\n文件中没有事件：未改动，未写出输出文件。\r\n"
      L"输入文件：D:\\b.rm\r\n完成。\r\n"
      L"错误：无法打开输入文件\r\n未写出输出文件。\r\n";
  EXPECT_TRUE(run::ReportSaysNoEvents(report, L"D:\\a.rm"));
  EXPECT_FALSE(run::ReportSaysNoEvents(report, L"D:\\b.rm"));
  EXPECT_FALSE(run::ReportSaysNoEvents(report, L"D:\\c.rm"));
  EXPECT_FALSE(run::ReportSaysNoEvents(L"", L"D:\\a.rm"));
}

TEST(BatchCommandLine, CmdByItsFullPathWithTheBatchQuotedWhole) {
  EXPECT_EQ(
      run::BatchCommandLine(L"C:\\windows\\system32\\cmd.exe",
                            L"C:\\Users\\John Smith\\Temp\\Go.bat"),
      L"\"C:\\windows\\system32\\cmd.exe\" /s /c \"\"C:\\Users\\John Smith\\Temp\\Go.bat\"\"");
}

}  // namespace
}  // namespace run_test
