// Counting the films of a run in the status file rmevents appends to while the batch goes.
#include <gtest/gtest.h>

#include "film_status.h"
#include "run/run_progress.h"

namespace run_test {
namespace {

std::string Status(film_status::Kind kind, int exitCode, std::string input) {
  return film_status::Format({kind, exitCode, 0, std::move(input)});
}

TEST(StatusProgress, CountsEachClosingLineOnceItIsCompleteAndNamesTheLatestStart) {
  using film_status::Kind;
  const std::string film = "D:\\\xe5\xbd\xb1\xe7\x89\x87.rm";  // D:\影片.rm in UTF-8
  const std::string status =
      Status(Kind::kStarted, -1, film) + Status(Kind::kDone, 0, film) +
      Status(Kind::kStarted, -1, "D:\\b.rm") + Status(Kind::kUnchanged, 9, "D:\\b.rm") +
      Status(Kind::kStarted, -1, "D:\\c.rm") + "not a status line\n" +
      Status(Kind::kFailed, 3, "D:\\c.rm") + Status(Kind::kStarted, -1, "D:\\d.rm");
  run::StatusProgress progress;
  // Fed a byte at a time, as polls may meet the file half-written: no split miscounts.
  size_t seen = 0;
  for (size_t i = 0; i < status.size(); ++i) {
    progress.Take(std::string_view(status).substr(i, 1));
    EXPECT_GE(progress.Finished(), seen);
    seen = progress.Finished();
  }
  EXPECT_EQ(progress.Finished(), 3u);
  EXPECT_EQ(progress.CurrentInput(), "D:\\d.rm");
  ASSERT_EQ(progress.Lines().size(), 7u) << "the stranger line is not taken";
  EXPECT_EQ(progress.Lines()[0].inputUtf8, film);

  run::StatusProgress partial;
  partial.Take(Status(Kind::kStarted, -1, "D:\\a.rm") + "DONE\t0\t0\tD:\\a");
  EXPECT_EQ(partial.Finished(), 0u) << "the closing line has not ended yet";
  partial.Take(".rm\n");
  EXPECT_EQ(partial.Finished(), 1u);
  EXPECT_EQ(partial.Lines().back().inputUtf8, "D:\\a.rm");
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
