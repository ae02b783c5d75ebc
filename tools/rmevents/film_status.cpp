#include "film_status.h"

#include <array>
#include <charconv>
#include <utility>

namespace film_status {
namespace {

constexpr std::array<std::pair<Kind, std::string_view>, 6> kKeywords = {{
    {Kind::kStarted, "START"},
    {Kind::kDone, "DONE"},
    {Kind::kSalvaged, "SALVAGED"},
    {Kind::kIndexRebuilt, "REINDEXED"},
    {Kind::kUnchanged, "UNCHANGED"},
    {Kind::kFailed, "FAILED"},
}};

std::string_view Keyword(Kind kind) {
  for (const auto& [k, word] : kKeywords) {
    if (k == kind) return word;
  }
  return "FAILED";
}

// The next field up to a tab; false at the end of the text.
bool NextField(std::string_view& rest, std::string_view& field) {
  const size_t tab = rest.find('\t');
  if (tab == std::string_view::npos) return false;
  field = rest.substr(0, tab);
  rest.remove_prefix(tab + 1);
  return true;
}

template <typename T>
bool Number(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

std::string Format(const Line& line) {
  std::string text(Keyword(line.kind));
  text += '\t';
  text += line.kind == Kind::kStarted ? std::string("-") : std::to_string(line.exitCode);
  text += '\t';
  text += std::to_string(line.keptPackets);
  text += '\t';
  text += line.inputUtf8;
  text += '\n';
  return text;
}

std::optional<Line> Parse(std::string_view text) {
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  std::string_view word, exit, kept;
  if (!NextField(text, word) || !NextField(text, exit) || !NextField(text, kept)) return {};
  Line line;
  bool known = false;
  for (const auto& [k, keyword] : kKeywords) {
    if (keyword == word) {
      line.kind = k;
      known = true;
    }
  }
  if (!known) return {};
  if (line.kind == Kind::kStarted) {
    if (exit != "-") return {};
  } else if (!Number(exit, line.exitCode)) {
    return {};
  }
  if (!Number(kept, line.keptPackets)) return {};
  line.inputUtf8 = std::string(text);
  return line;
}

}  // namespace film_status
