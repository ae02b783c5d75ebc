#include "files/item_merge.h"

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "add_items_reference.h"
#include "test_lower_case.h"

namespace files {
namespace {

using namespace std::string_view_literals;
using Entries = std::vector<std::wstring>;

Entries Merge(std::wstring_view batch, const Entries& listed, bool keepExisting = true) {
  return MergeItems(batch, kBatchSeparator, listed, keepExisting, testing::TestLowerCase);
}

TEST(MergeItems, NewPathsFirstThenTheOldOnesNotInTheBatch) {
  EXPECT_EQ(Merge(L"B\0D"sv, {L"A", L"B", L"C"}), (Entries{L"B", L"D", L"A", L"C"}));
  EXPECT_EQ(Merge(L"x.rm"sv, {}), (Entries{L"x.rm"}));
  EXPECT_EQ(Merge(L"C:\\v\\b.rm\0C:\\v\\a.rm"sv, {L"C:\\w\\c.rm"}),
            (Entries{L"C:\\v\\b.rm", L"C:\\v\\a.rm", L"C:\\w\\c.rm"}));
}

TEST(MergeItems, LetterCaseNeverMakesTwoPathsDifferentAndTheNewSpellingStays) {
  EXPECT_EQ(Merge(L"C:\\V\\A.RM\0C:\\v\\new.rm"sv, {L"C:\\v\\a.rm", L"C:\\v\\z.rm"}),
            (Entries{L"C:\\V\\A.RM", L"C:\\v\\new.rm", L"C:\\v\\z.rm"}));
  EXPECT_EQ(Merge(L"D:\\ÄRGER.rm"sv, {L"d:\\ärger.RM", L"D:\\фильм.rm"}),
            (Entries{L"D:\\ÄRGER.rm", L"D:\\фильм.rm"}));
  EXPECT_EQ(Merge(L"D:\\ФИЛЬМ.rm"sv, {L"D:\\фильм.rm"}), (Entries{L"D:\\ФИЛЬМ.rm"}));
}

TEST(MergeItems, WholeItemsOnly) {
  // A listed path that holds a new one as a part, or is part of one, is not a duplicate.
  EXPECT_EQ(Merge(L"a.rm"sv, {L"C:\\x\\a.rm", L"xa.rm", L"a.rmvb", L"a"}),
            (Entries{L"a.rm", L"C:\\x\\a.rm", L"xa.rm", L"a.rmvb", L"a"}));
  // An entry that spans two new items is no single item either.
  EXPECT_EQ(Merge(L"a\0b"sv, {L"a b"}), (Entries{L"a", L"b", L"a b"}));
}

TEST(MergeItems, NoComparisonsWithinTheBatchOrWithinTheList) {
  EXPECT_EQ(Merge(L"a.rm\0A.RM\0a.rm"sv, {L"b.rm"}), (Entries{L"a.rm", L"A.RM", L"a.rm", L"b.rm"}));
  EXPECT_EQ(Merge(L"x.rm"sv, {L"b.rm", L"B.rm", L"b.rm"}),
            (Entries{L"x.rm", L"b.rm", L"B.rm", L"b.rm"}));
  // Listed twice and named in the batch: both old entries go.
  EXPECT_EQ(Merge(L"b.rm"sv, {L"b.rm", L"B.RM", L"c.rm"}), (Entries{L"b.rm", L"c.rm"}));
}

TEST(MergeItems, EmptyPiecesAndEmptyBatches) {
  // Every piece becomes an entry, an empty one too, and an empty new item matches an empty entry.
  EXPECT_EQ(Merge(L"a\0\0b"sv, {L"", L"c"}), (Entries{L"a", L"", L"b", L"c"}));
  EXPECT_EQ(Merge(L"a\0"sv, {L"a"}), (Entries{L"a", L""}));
  EXPECT_EQ(Merge(L"a"sv, {L"", L"c"}), (Entries{L"a", L"", L"c"}));
  // The empty batch changes nothing.
  EXPECT_EQ(Merge(L""sv, {L"A", L"B"}), (Entries{L"A", L"B"}));
  EXPECT_EQ(Merge(L""sv, {L"A", L"B"}, false), (Entries{L"A", L"B"}));
}

TEST(MergeItems, WithoutKeepingTheBatchReplacesTheList) {
  EXPECT_EQ(Merge(L"B\0D"sv, {L"A", L"B", L"C"}, false), (Entries{L"B", L"D"}));
}

TEST(MergeItems, AnEntryHoldingTheSeparatorIsLookedForAsARunOfPieces) {
  const auto merge = [](std::wstring_view batch, const Entries& listed) {
    return MergeItems(batch, L';', listed, true, testing::TestLowerCase);
  };
  EXPECT_EQ(merge(L"x;A;B;y", {L"a;b", L"c;d"}), (Entries{L"x", L"A", L"B", L"y", L"c", L"d"}));
  EXPECT_EQ(merge(L"x;a", {L"x;a;", L"a"}), (Entries{L"x", L"a", L"x", L"a", L""}));
}

// Random lists over a small alphabet, so that duplicates, letter-case twins, empty pieces and
// entries that hold the separator all turn up; the fast merge must agree with the literal one.
TEST(MergeItems, AgreesWithTheLiteralTextSearch) {
  std::mt19937 random(20240607);
  const std::wstring alphabet = L"aAbB;\\";
  const auto randomText = [&](size_t maxLength) {
    std::wstring text(random() % (maxLength + 1), L'a');
    for (wchar_t& c : text) c = alphabet[random() % alphabet.size()];
    return text;
  };
  for (int round = 0; round < 3000; ++round) {
    const wchar_t separator = round % 2 == 0 ? L';' : L'\\';
    const std::wstring batch = randomText(9);
    Entries listed(random() % 6);
    for (std::wstring& entry : listed) entry = randomText(3);
    const bool keep = round % 7 != 0;
    EXPECT_EQ(MergeItems(batch, separator, listed, keep, testing::TestLowerCase),
              testing::MergeItemsBySearch(batch, separator, listed, keep, testing::TestLowerCase))
        << "batch [" << batch << "] separator " << static_cast<int>(separator);
  }
}

TEST(Batches, SplitAndJoin) {
  EXPECT_EQ(SplitBatch(L""sv, kBatchSeparator), Entries{});
  EXPECT_EQ(SplitBatch(L"a"sv, kBatchSeparator), (Entries{L"a"}));
  EXPECT_EQ(SplitBatch(L"\0a\0\0"sv, kBatchSeparator), (Entries{L"", L"a", L"", L""}));
  EXPECT_EQ(JoinBatch({L"a", L"", L"b"}, kBatchSeparator), L"a\0\0b"sv);
  EXPECT_EQ(JoinBatch({}, kBatchSeparator), L"");
  EXPECT_EQ(JoinBatch({L""}, kBatchSeparator), L"");
}

}  // namespace
}  // namespace files
