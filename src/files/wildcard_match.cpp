#include "files/wildcard_match.h"

namespace files {

WildcardPattern::WildcardPattern(std::wstring_view pattern) {
  for (size_t at = 0; at < pattern.size() && valid_;) {
    const wchar_t c = pattern[at];
    Token token;
    switch (c) {
      case L'?':
        token.kind = Kind::kAnyOne;
        break;
      case L'*':
        // A run of stars is one star.
        if (!tokens_.empty() && tokens_.back().kind == Kind::kStar) {
          ++at;
          continue;
        }
        token.kind = Kind::kStar;
        break;
      case L'#':
        token.kind = Kind::kDigit;
        break;
      case L'[':
        valid_ = ParseList(pattern, at);
        continue;
      default:
        token.literal = c;
        break;
    }
    tokens_.push_back(token);
    ++at;
  }
}

bool WildcardPattern::ParseList(std::wstring_view pattern, size_t& at) {
  size_t from = at + 1;
  const bool negated = from < pattern.size() && pattern[from] == L'!';
  if (negated) ++from;
  const size_t close = pattern.find(L']', from);
  if (close == std::wstring_view::npos) return false;
  const std::wstring_view list = pattern.substr(from, close - from);
  at = close + 1;

  Token token;
  token.kind = Kind::kSet;
  token.negated = negated;
  token.first = static_cast<unsigned>(ranges_.size());
  for (size_t i = 0; i < list.size();) {
    // "x-y" is a range only with a character on both sides of the dash.
    if (i + 2 < list.size() && list[i + 1] == L'-') {
      if (list[i] > list[i + 2]) return false;
      ranges_.push_back({list[i], list[i + 2]});
      i += 3;
    } else {
      ranges_.push_back({list[i], list[i]});
      ++i;
    }
  }
  token.count = static_cast<unsigned>(ranges_.size()) - token.first;
  if (token.count == 0) {
    // "[]" takes no character; "[!]" excludes nothing and so takes any one.
    if (negated) tokens_.push_back(Token{Kind::kAnyOne});
    return true;
  }
  tokens_.push_back(token);
  return true;
}

bool WildcardPattern::TokenMatches(const Token& token, wchar_t c) const {
  switch (token.kind) {
    case Kind::kLiteral:
      return c == token.literal;
    case Kind::kAnyOne:
      return true;
    case Kind::kDigit:
      return c >= L'0' && c <= L'9';
    case Kind::kSet: {
      bool inList = false;
      for (unsigned i = token.first; i < token.first + token.count && !inList; ++i) {
        inList = c >= ranges_[i].low && c <= ranges_[i].high;
      }
      return inList != token.negated;
    }
    case Kind::kStar:
      break;
  }
  return false;
}

bool WildcardPattern::Matches(std::wstring_view name) const {
  if (!valid_) return false;
  // Every token but the star takes exactly one character, so on a mismatch it is enough to let
  // the most recent star take one character more: earlier stars never need to give anything
  // back. Each star restart moves the name position on, which bounds the work by
  // name length x token count.
  const size_t tokenCount = tokens_.size();
  size_t t = 0;
  size_t s = 0;
  size_t starToken = tokenCount;  // none yet
  size_t starName = 0;
  while (s < name.size()) {
    if (t < tokenCount && tokens_[t].kind == Kind::kStar) {
      starToken = t++;
      starName = s;
    } else if (t < tokenCount && TokenMatches(tokens_[t], name[s])) {
      ++t;
      ++s;
    } else if (starToken != tokenCount) {
      t = starToken + 1;
      s = ++starName;
    } else {
      return false;
    }
  }
  while (t < tokenCount && tokens_[t].kind == Kind::kStar) ++t;
  return t == tokenCount;
}

std::vector<std::wstring> SplitPatterns(std::wstring_view patternText) {
  std::vector<std::wstring> elements;
  size_t from = 0;
  while (from <= patternText.size()) {
    size_t end = patternText.find(L';', from);
    if (end == std::wstring_view::npos) end = patternText.size();
    if (end > from) elements.emplace_back(patternText.substr(from, end - from));
    from = end + 1;
  }
  return elements;
}

PatternList::PatternList(std::wstring_view patternText) : PatternList(SplitPatterns(patternText)) {}

PatternList::PatternList(const std::vector<std::wstring>& elements) {
  patterns_.reserve(elements.size());
  for (const std::wstring& element : elements) {
    if (!element.empty()) patterns_.emplace_back(element);
  }
}

bool PatternList::Matches(std::wstring_view name) const {
  for (const WildcardPattern& pattern : patterns_) {
    if (pattern.Matches(name)) return true;
  }
  return false;
}

bool MatchesAnyPattern(std::wstring_view name, const std::vector<std::wstring>& patterns,
                       LowerCase lower) {
  std::wstring lowered(name);
  lower(lowered);
  return PatternList(patterns).Matches(lowered);
}

bool MatchesAnyPattern(std::wstring_view name, std::wstring_view patternText, LowerCase lower) {
  return MatchesAnyPattern(name, SplitPatterns(patternText), lower);
}

}  // namespace files
