#include "run/gathering_rules.h"

#include <algorithm>

namespace run {

GatheringClock::GatheringClock(std::uint64_t openedAtMs)
    : latest_(openedAtMs + kLongestMs), closesAt_(openedAtMs + kOpenMs) {}

void GatheringClock::Arrived(std::uint64_t nowMs) {
  latest_ = std::max(latest_, nowMs + kLongestMs);
  closesAt_ = std::max(closesAt_, nowMs + kOpenMs);
}

void GatheringClock::HoldUntil(std::uint64_t untilMs) {
  closesAt_ = std::min(latest_, std::max(closesAt_, untilMs));
}

std::wstring EncodeJoin(const std::vector<std::wstring>& films) {
  std::wstring text;
  for (const std::wstring& film : films) {
    text += film;
    text += L'\0';
  }
  return text;
}

std::optional<std::vector<std::wstring>> DecodeJoin(std::wstring_view text) {
  if (!text.empty() && text.back() != L'\0') return std::nullopt;
  std::vector<std::wstring> films;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find(L'\0', start);
    films.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return films;
}

}  // namespace run
