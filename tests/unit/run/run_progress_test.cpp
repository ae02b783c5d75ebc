// Counting the finished tool runs in a growing ret.txt, as the tool writes it in code page 936.
#include <gtest/gtest.h>

#include "run/run_progress.h"

namespace run_test {
namespace {

// The tool's words in code page 936 (GBK), as a Chinese system's tool writes them.
const std::string kFinished = "\xcd\xea\xb3\xc9\xa1\xa3";  // 完成。
const std::string kNotWritten =
    "\xce\xb4\xd0\xb4\xb3\xf6\xca\xe4\xb3\xf6\xce\xc4\xbc\xfe\xa1\xa3";  // 未写出输出文件。
const std::string kInput = "\xca\xe4\xc8\xeb\xce\xc4\xbc\xfe\xa3\xba";   // 输入文件：
// 文件中没有事件：未改动，未写出输出文件。
const std::string kNoEvents =
    "\xce\xc4\xbc\xfe\xd6\xd0\xc3\xbb\xd3\xd0\xca\xc2\xbc\xfe\xa3\xba\xce\xb4\xb8\xc4\xb6\xaf"
    "\xa3\xac" +
    kNotWritten;
const std::string kFilm = "D:\\\xd3\xb0\xc6\xac.rm";  // D:\影片.rm

run::ReportProgress Gbk() { return run::ReportProgress({kFinished, kNotWritten, kInput}); }

TEST(ReportProgress, CountsEachEndMarkerOnceItsLineIsComplete) {
  run::ReportProgress progress = Gbk();
  const std::string report = kInput + kFilm + "\r\n" + kFinished + "\r\n" +    // cleaned
                             kInput + "D:\\b.rm\r\n" + kNoEvents + "\r\n" +    // left alone
                             "\xb4\xed\xce\xf3\xa3\xba x\r\n" + kNotWritten +  // failed
                             "\r\n" + kInput + "D:\\c.rm\r\n";
  // Fed a byte at a time: no byte split, not even inside a double-byte character, miscounts.
  size_t seen = 0;
  for (size_t i = 0; i < report.size(); ++i) {
    progress.Take(std::string_view(report).substr(i, 1));
    EXPECT_GE(progress.Finished(), seen);
    seen = progress.Finished();
  }
  EXPECT_EQ(progress.Finished(), 3u);
  EXPECT_EQ(progress.CurrentInput(), "D:\\c.rm");
}

TEST(ReportProgress, APartialLastLineWaitsForItsLineFeed) {
  run::ReportProgress progress = Gbk();
  progress.Take(kInput + kFilm + "\r\n" + kFinished);
  EXPECT_EQ(progress.Finished(), 0u) << "the marker's line has not ended yet";
  EXPECT_EQ(progress.CurrentInput(), kFilm);
  progress.Take("\r");
  EXPECT_EQ(progress.Finished(), 0u);
  progress.Take("\n" + kInput + "D:\\x");
  EXPECT_EQ(progress.Finished(), 1u);
  EXPECT_EQ(progress.CurrentInput(), kFilm) << "the next input line is not complete yet";
  progress.Take("y.rm\n");
  EXPECT_EQ(progress.CurrentInput(), "D:\\xy.rm") << "LF alone ends a line too";
}

TEST(ReportProgress, GoesByTheCodePagesBytesOnly) {
  run::ReportProgress progress = Gbk();
  // The same words in UTF-8 are not the tool's words on this system; a marker inside a line, or
  // at the end of an input line's path, is no end either.
  progress.Take("\xe5\xae\x8c\xe6\x88\x90\xe3\x80\x82\r\n");  // 完成。 in UTF-8
  progress.Take("x" + kFinished + "\r\n");
  progress.Take(kInput + "D:\\" + kNotWritten + "\r\n");
  EXPECT_EQ(progress.Finished(), 0u);
  EXPECT_EQ(progress.CurrentInput(), "D:\\" + kNotWritten);
}

TEST(EveryFilmCleaned, FalseForAnyFilmNotCleanedOrNotReplaced) {
  using run::Outcome;
  EXPECT_TRUE(run::EveryFilmCleaned({{L"a", Outcome::kReplaced, L""},
                                     {L"b", Outcome::kCopyKept, L""},
                                     {L"c", Outcome::kNoEvents, L""}}));
  EXPECT_FALSE(
      run::EveryFilmCleaned({{L"a", Outcome::kReplaced, L""}, {L"b", Outcome::kHeld, L""}}));
  EXPECT_FALSE(run::EveryFilmCleaned({{L"a", Outcome::kNoCopy, L""}}));
}

}  // namespace
}  // namespace run_test
