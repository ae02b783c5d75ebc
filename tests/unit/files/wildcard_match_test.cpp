#include "files/wildcard_match.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_lower_case.h"

namespace files {
namespace {

struct Case {
  const wchar_t* pattern;
  const wchar_t* name;
  bool matches;
};

void ExpectCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(WildcardPattern(c.pattern).Matches(c.name), c.matches)
        << "pattern [" << c.pattern << "] name [" << c.name << "]";
  }
}

TEST(WildcardPattern, FollowsTheRuleTable) {
  ExpectCases({
      {L"*.rm", L"clip.rm", true},
      {L"*.rm", L"clip.rmvb", false},
      {L"*.rm", L".rm", true},
      {L"pic???.jpg", L"pic001.jpg", true},
      {L"pic???.jpg", L"pic01.jpg", false},
      {L"pic???.jpg", L"pic0001.jpg", false},
      {L"*.", L"readme.", true},
      {L"*.", L"readme", false},
      {L"*rm*", L"clip.rmvb", true},
      {L"*rm*", L"firm.txt", true},
      {L"*rm*", L"clip.avi", false},
      {L"*", L"", true},
      {L"?", L"", false},
      {L"", L"", true},
      {L"", L"a", false},
      {L"a", L"A", false},  // codes compared exactly; callers lower-case both sides
      {L"#", L"7", true},
      {L"#", L"x", false},
      {L"#", L"٣", false},  // only 0 to 9
      {L"ep##.rm", L"ep07.rm", true},
      {L"ep##.rm", L"ep7.rm", false},
      {L"电影?.rm", L"电影1.rm", true},
      // "]", "!" and "-" outside a list are themselves.
      {L"a]b", L"a]b", true},
      {L"!a-b", L"!a-b", true},
      {L"a**b", L"ab", true},
      {L"*a*b*c", L"xxaxxbxxc", true},
      {L"*a*b*c", L"xxaxxbxxcx", false},
      {L"a*b*a", L"abba", true},
      {L"a*", L"b", false},
      // Lists.
      {L"[abc].rm", L"b.rm", true},
      {L"[abc].rm", L"d.rm", false},
      {L"[a-z]#", L"q5", true},
      {L"[a-z]#", L"Q5", false},
      {L"[!a-z]#", L"Q5", true},
      {L"[!a-z]#", L"q5", false},
      {L"[a-cx-z]", L"y", true},
      {L"[a-cx-z]", L"m", false},
      {L"[0-9][0-9]", L"42", true},
      // A dash first, after the "!", last, or right after a range is itself.
      {L"[-a]", L"-", true},
      {L"[a-]", L"-", true},
      {L"[a-]", L"b", false},
      {L"[!-a]", L"-", false},
      {L"[!-a]", L"b", true},
      {L"[a-c-e]", L"-", true},
      {L"[a-c-e]", L"d", false},
      {L"[a-c-e]", L"e", true},
      {L"[--/]", L".", true},  // a range from "-" to "/"
      // Wildcard characters inside a list are themselves.
      {L"[?]", L"?", true},
      {L"[?]", L"a", false},
      {L"[*]", L"*", true},
      {L"[*]x", L"abx", false},
      {L"[#]", L"#", true},
      {L"[#]", L"1", false},
      {L"[[]", L"[", true},
      {L"[a!]", L"!", true},
      // The list ends at its first "]": "[]]" is an empty list and a "]".
      {L"[]]", L"]", true},
      {L"a[]b", L"ab", true},  // the empty list takes no character
      {L"a[]b", L"axb", false},
      {L"a[!]b", L"axb", true},  // "[!]" takes any one character
      {L"a[!]b", L"ab", false},
      {L"[a-a]", L"a", true},
  });
}

TEST(WildcardPattern, InvalidPatternsMatchNothing) {
  for (const wchar_t* pattern : {L"[abc", L"*[", L"a[!", L"[z-a]", L"*.rm[", L"[b-a]*"}) {
    const WildcardPattern compiled(pattern);
    EXPECT_FALSE(compiled.IsValid()) << pattern;
    for (const wchar_t* name : {L"", L"a", L"[abc", L"abc", L"x.rm", L"*["}) {
      EXPECT_FALSE(compiled.Matches(name)) << pattern << " / " << name;
    }
  }
  EXPECT_TRUE(WildcardPattern(L"a]").IsValid());
  EXPECT_TRUE(WildcardPattern(L"[]").IsValid());
}

TEST(WildcardPattern, ManyStarsOnALongNameFinishAtOnce) {
  // A backtracking matcher tries every way to share the name among the stars: far too many ways
  // to end within the test's timeout.
  const std::wstring longName(20000, L'a');
  EXPECT_FALSE(WildcardPattern(L"*a*a*a*a*a*a*a*a*a*a*a*b").Matches(longName));
  EXPECT_TRUE(WildcardPattern(L"*a*a*a*a*a*a*a*a*a*a*a*a").Matches(longName));
  EXPECT_FALSE(WildcardPattern(L"*?*?*?*?*?*?*?*#").Matches(longName));
  EXPECT_TRUE(WildcardPattern(L"*[a-b]*[!c]*a").Matches(longName + L"b" + longName));
}

TEST(MatchesAnyPattern, SplitsTheTextAndLowerCasesOnlyTheName) {
  const LowerCase lower = testing::TestLowerCase;
  EXPECT_TRUE(MatchesAnyPattern(L"CLIP.RM", L"*.rm", lower));
  EXPECT_TRUE(MatchesAnyPattern(L"ÄRGER.RMVB", L"*.rm;ä*.rmvb", lower));
  EXPECT_TRUE(MatchesAnyPattern(L"ФИЛЬМ.rm", L"фильм.*", lower));
  // The elements are taken as they are: an upper-case element never matches the lowered name.
  EXPECT_FALSE(MatchesAnyPattern(L"clip.rm", L"*.RM", lower));
  EXPECT_TRUE(MatchesAnyPattern(L"a.jpg", L";;*.png;;*.jpg;", lower));
  EXPECT_FALSE(MatchesAnyPattern(L"a.jpg", L"", lower));
  EXPECT_FALSE(MatchesAnyPattern(L"a.jpg", L";;;", lower));
  // Blanks are not trimmed.
  EXPECT_FALSE(MatchesAnyPattern(L"clip.rm", L" *.rm", lower));
  EXPECT_TRUE(MatchesAnyPattern(L" clip.rm", L" *.rm", lower));
  // An invalid element does not spoil the others.
  EXPECT_TRUE(MatchesAnyPattern(L"clip.rm", L"[x;*.rm", lower));
  EXPECT_FALSE(MatchesAnyPattern(L"clip.rm", L"[x;*.rmvb", lower));

  const std::vector<std::wstring> list = {L"", L"*.avi", L"c*"};
  EXPECT_TRUE(MatchesAnyPattern(L"Clip.rm", list, lower));
  EXPECT_FALSE(MatchesAnyPattern(L"movie.rm", list, lower));
}

TEST(SplitPatterns, LeavesOutEmptyElements) {
  using Elements = std::vector<std::wstring>;
  EXPECT_EQ(SplitPatterns(L"*.rm;*.rmvb"), (Elements{L"*.rm", L"*.rmvb"}));
  EXPECT_EQ(SplitPatterns(L";a;;b;"), (Elements{L"a", L"b"}));
  EXPECT_EQ(SplitPatterns(L" a ; b"), (Elements{L" a ", L" b"}));
  EXPECT_EQ(SplitPatterns(L""), Elements{});
}

}  // namespace
}  // namespace files
