// Wildcard patterns as the folder scan uses them: "?", "*", "#", "[list]", "[a-z]", "[!list]",
// matched against whole file names. Patterns are compiled once and matched in O(name x pattern)
// at worst: no pattern makes the matcher backtrack exponentially.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/lower_case.h"

namespace files {

// One pattern element (no ";" splitting). Characters are compared exactly by their codes; callers
// lower-case both sides first to match regardless of letter case.
//
//   ?          exactly one character
//   *          any run of characters, the empty run included
//   #          exactly one digit 0 to 9
//   [list]     one character in the list; "x-y" inside is the range x to y
//   [!list]    one character not in the list
//   other      itself ("]", "!" and "-" outside a list included)
//
// Inside a list a "-" that comes first (after the "!"), last, or right after a range stands for
// itself; "?", "*", "#" and "[" stand for themselves, and the list ends at its first "]". "[]"
// matches the empty run (it takes no character) and "[!]" any one character.
//
// Not valid, and then matching no name at all: a "[" that is never closed, and a range whose low
// end is above its high end ("[z-a]"). A typed pattern with such a slip thus finds nothing instead
// of finding something the user did not ask for; the other elements of the same text still work.
class WildcardPattern {
 public:
  explicit WildcardPattern(std::wstring_view pattern);

  [[nodiscard]] bool IsValid() const { return valid_; }
  [[nodiscard]] bool Matches(std::wstring_view name) const;

 private:
  enum class Kind { kLiteral, kAnyOne, kDigit, kSet, kStar };
  struct Token {
    Kind kind = Kind::kLiteral;
    wchar_t literal = 0;
    bool negated = false;
    // The set's ranges: ranges_[first, first + count).
    unsigned first = 0;
    unsigned count = 0;
  };
  struct Range {
    wchar_t low;
    wchar_t high;
  };

  [[nodiscard]] bool TokenMatches(const Token& token, wchar_t c) const;
  // Parses the list whose "[" stands at `at` and moves `at` past its "]"; false when the list is
  // not valid.
  bool ParseList(std::wstring_view pattern, size_t& at);

  std::vector<Token> tokens_;
  std::vector<Range> ranges_;
  bool valid_ = true;
};

// A pattern text split at ";" into compiled elements; empty elements are left out and nothing is
// trimmed (" *.rm" only matches names that begin with a blank). The elements are taken as they
// are: the folder scan lower-cases the text before it builds the list.
class PatternList {
 public:
  explicit PatternList(std::wstring_view patternText);
  explicit PatternList(const std::vector<std::wstring>& elements);

  [[nodiscard]] bool empty() const { return patterns_.empty(); }
  // True when `name`, taken as it is, matches at least one element.
  [[nodiscard]] bool Matches(std::wstring_view name) const;

 private:
  std::vector<WildcardPattern> patterns_;
};

// The elements of a pattern text: split at every ";", empty elements left out.
std::vector<std::wstring> SplitPatterns(std::wstring_view patternText);

// True when the lower-cased `name` matches at least one non-empty element, in order. The
// elements themselves are not lower-cased again.
[[nodiscard]] bool MatchesAnyPattern(std::wstring_view name,
                                     const std::vector<std::wstring>& patterns, LowerCase lower);
[[nodiscard]] bool MatchesAnyPattern(std::wstring_view name, std::wstring_view patternText,
                                     LowerCase lower);

}  // namespace files
