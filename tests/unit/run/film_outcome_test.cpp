// The section a run appends to ret.txt, and cmd's command line for the batch.
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

TEST(OutcomeSection, SaysWhatTheToolMendedWhyAFilmWasLeftAndThatTheRunStopped) {
  run::FilmOutcome salvaged{L"D:\\a.rm", Outcome::kReplaced, L"D:\\a.rm.tmp"};
  salvaged.repair = run::Repair::kSalvaged;
  salvaged.keptPackets = 1234;
  run::FilmOutcome reindexed{L"D:\\b.rm", Outcome::kCopyKept, L"D:\\b.rm.tmp"};
  reindexed.repair = run::Repair::kIndexRebuilt;
  EXPECT_EQ(run::OutcomeSection({salvaged,
                                 reindexed,
                                 {L"D:\\c.rm", Outcome::kAccessDenied, L"D:\\c.rm.tmp"},
                                 {L"D:\\d.rm", Outcome::kStopped, L""}},
                                run::RunEnd::kStopped),
            L"\r\n清除结果（共 4 个文件）：\r\n"
            L"  D:\\a.rm：已清除（输入文件不完整，保留了 1234 个完整数据包），已替换原文件\r\n"
            L"  D:\\b.rm：已清除（索引与数据不符，已重建索引），副本保存为 D:\\b.rm.tmp\r\n"
            L"  D:\\c.rm：未替换：没有替换原文件的权限，清除后的副本留在 D:\\c.rm.tmp\r\n"
            L"  D:\\d.rm：未清除：清除已停止\r\n"
            L"合计：已清除 2 个（其中已替换原文件 1 个），没有事件 0 个，未清除 1 个，"
            L"已清除但未替换 1 个。\r\n"
            L"清除已停止：1 个文件未处理，正在处理的文件保持原样，其未完成的副本已删除。\r\n");
  EXPECT_EQ(
      run::OutcomeSection({{L"D:\\a.rm", Outcome::kNoCopy, L""}}, run::RunEnd::kBatchNotWritten),
      L"\r\n清除结果（共 1 个文件）：\r\n未清除：无法写出批处理文件，没有处理任何文件。\r\n");
}

TEST(BatchCommandLine, CmdByItsFullPathWithTheBatchQuotedWhole) {
  EXPECT_EQ(run::BatchCommandLine(L"C:\\windows\\system32\\cmd.exe",
                                  L"C:\\Users\\John Smith\\Temp\\Go.bat"),
            L"\"C:\\windows\\system32\\cmd.exe\" /d /v:off /s /c \"\"C:\\Users\\John "
            L"Smith\\Temp\\Go.bat\"\"");
}

}  // namespace
}  // namespace run_test
