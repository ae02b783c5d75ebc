#include "run/replacement_rule.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace run {
namespace {

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

struct SizeCase {
  std::uint64_t original;
  std::uint64_t copy;
  Decision expected;
};

void ExpectSizeCases(std::initializer_list<SizeCase> cases) {
  for (const SizeCase& c : cases) {
    EXPECT_EQ(DecideReplacement(FileState::Sized(c.original), FileState::Sized(c.copy)), c.expected)
        << "original " << c.original << " bytes, copy " << c.copy << " bytes";
  }
}

TEST(DecideReplacement, TheCopyMayLoseLessThanTheLimit) {
  ExpectSizeCases({
      {300000, 100001, Decision::kReplace},       // 199999 bytes smaller
      {300000, 100000, Decision::kCopyTooSmall},  // 200000 bytes smaller
      {300000, 99999, Decision::kCopyTooSmall},
      {199999, 0, Decision::kReplace},
      {200000, 0, Decision::kCopyTooSmall},
      {1000, 1000, Decision::kReplace},
      {0, 0, Decision::kReplace},
      // A copy larger than its original passes, however much larger.
      {1000, 1001, Decision::kReplace},
      {0, 500000, Decision::kReplace},
  });
}

TEST(DecideReplacement, SizesBeyondTwoAndFourGiBAreExact) {
  ExpectSizeCases({
      // Cut to 32 bits these would both read 1000, or the loss would wrap to a small number.
      {4 * kGiB + 1000, 1000, Decision::kCopyTooSmall},
      {4 * kGiB + 1000, 4 * kGiB + 1000 - 199999, Decision::kReplace},
      {4 * kGiB + 1000, 4 * kGiB + 1000 - 200000, Decision::kCopyTooSmall},
      {3 * kGiB, 2 * kGiB, Decision::kCopyTooSmall},
      {2 * kGiB + 199999, 2 * kGiB, Decision::kReplace},
      {1000, 4 * kGiB + 1000, Decision::kReplace},
      {UINT64_MAX, UINT64_MAX - 199999, Decision::kReplace},
      {UINT64_MAX, 0, Decision::kCopyTooSmall},
  });
}

TEST(DecideReplacement, MissingAndUnreadableFiles) {
  const FileState sized = FileState::Sized(5000000);
  const FileState tiny = FileState::Sized(0);
  // No copy: the tool wrote none, whatever the original is.
  EXPECT_EQ(DecideReplacement(sized, FileState::Missing()), Decision::kNoCopy);
  EXPECT_EQ(DecideReplacement(FileState::Missing(), FileState::Missing()), Decision::kNoCopy);
  EXPECT_EQ(DecideReplacement(FileState::Unreadable(), FileState::Missing()), Decision::kNoCopy);
  // A copy whose size cannot be read never replaces anything.
  EXPECT_EQ(DecideReplacement(sized, FileState::Unreadable()), Decision::kCopyUnreadable);
  EXPECT_EQ(DecideReplacement(FileState::Missing(), FileState::Unreadable()),
            Decision::kCopyUnreadable);
  // An original that has gone passes the size test, even against an empty copy.
  EXPECT_EQ(DecideReplacement(FileState::Missing(), tiny), Decision::kReplace);
  // An original that is there but cannot be measured is kept, with its copy beside it.
  EXPECT_EQ(DecideReplacement(FileState::Unreadable(), sized), Decision::kOriginalUnreadable);
}

}  // namespace
}  // namespace run
