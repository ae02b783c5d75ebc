#include "run/film_outcome.h"

#include <array>

namespace run {
namespace {

constexpr std::wstring_view kInputLine = L"输入文件：";
constexpr std::wstring_view kNoEventsLine = L"文件中没有事件：未改动，未写出输出文件。";

std::wstring OutcomeText(const FilmOutcome& film) {
  const std::wstring kept = L"，清除后的副本留在 " + film.copy;
  switch (film.outcome) {
    case Outcome::kReplaced:
      return L"已清除，已替换原文件";
    case Outcome::kCopyKept:
      return L"已清除，副本保存为 " + film.copy;
    case Outcome::kNoEvents:
      return L"文件中没有事件，未改动";
    case Outcome::kNoCopy:
      return L"未清除：工具没有写出副本（见上面工具的输出）";
    case Outcome::kNotInBatch:
      return L"未清除：文件名含有批处理文件无法表示的字符";
    case Outcome::kTooSmall:
      return L"未替换：副本比原文件小 200000 字节或更多" + kept;
    case Outcome::kReadOnly:
      return L"未替换：原文件是只读的" + kept;
    case Outcome::kHeld:
      return L"未替换：原文件正被其他程序使用" + kept;
    case Outcome::kNotReplaced:
      return L"未替换：无法替换原文件" + kept;
  }
  return {};
}

// The summary's groups: cleaned (in place or beside), left alone, not cleaned, not replaced.
int GroupOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::kReplaced:
    case Outcome::kCopyKept:
      return 0;
    case Outcome::kNoEvents:
      return 1;
    case Outcome::kNoCopy:
    case Outcome::kNotInBatch:
      return 2;
    default:
      return 3;
  }
}

// One line of `text` at a time, without its CR LF or LF.
template <typename Visit>
void ForEachLine(std::wstring_view text, Visit visit) {
  while (!text.empty()) {
    const size_t end = text.find(L'\n');
    std::wstring_view line = text.substr(0, end);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    if (!visit(line)) return;
    if (end == std::wstring_view::npos) return;
    text.remove_prefix(end + 1);
  }
}

}  // namespace

std::wstring OutcomeSection(const std::vector<FilmOutcome>& outcomes) {
  if (outcomes.empty()) return {};
  std::wstring section =
      L"\r\n清除结果（共 " + std::to_wstring(outcomes.size()) + L" 个文件）：\r\n";
  std::array<int, 4> counts = {};
  int replaced = 0;
  for (const FilmOutcome& film : outcomes) {
    section += L"  " + film.entry + L"：" + OutcomeText(film) + L"\r\n";
    ++counts[static_cast<size_t>(GroupOf(film.outcome))];
    if (film.outcome == Outcome::kReplaced) ++replaced;
  }
  section += L"合计：已清除 " + std::to_wstring(counts[0]) + L" 个（其中已替换原文件 " +
             std::to_wstring(replaced) + L" 个），没有事件 " + std::to_wstring(counts[1]) +
             L" 个，未清除 " + std::to_wstring(counts[2]) + L" 个，已清除但未替换 " +
             std::to_wstring(counts[3]) + L" 个。\r\n";
  return section;
}

bool ReportSaysNoEvents(std::wstring_view report, std::wstring_view input) {
  bool inFilm = false;
  bool says = false;
  ForEachLine(report, [&](std::wstring_view line) {
    if (line.substr(0, kInputLine.size()) == kInputLine) {
      inFilm = line.substr(kInputLine.size()) == input;
    } else if (inFilm && line == kNoEventsLine) {
      says = true;
    }
    return !says;
  });
  return says;
}

}  // namespace run
