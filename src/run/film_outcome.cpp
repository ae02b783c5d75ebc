#include "run/film_outcome.h"

#include <array>

namespace run {
namespace {

// "已清除" with what the tool had to mend, so a film cut short is never taken for a whole one.
std::wstring Cleaned(const FilmOutcome& film) {
  switch (film.repair) {
    case Repair::kSalvaged:
      return L"已清除（输入文件不完整，保留了 " + std::to_wstring(film.keptPackets) +
             L" 个完整数据包）";
    case Repair::kIndexRebuilt:
      return L"已清除（索引与数据不符，已重建索引）";
    case Repair::kNone:
      break;
  }
  return L"已清除";
}

std::wstring OutcomeText(const FilmOutcome& film) {
  const std::wstring kept = L"，清除后的副本留在 " + film.copy;
  switch (film.outcome) {
    case Outcome::kReplaced:
      return Cleaned(film) + L"，已替换原文件";
    case Outcome::kCopyKept:
      return Cleaned(film) + L"，副本保存为 " + film.copy;
    case Outcome::kNoEvents:
      return L"文件中没有事件，未改动";
    case Outcome::kNoCopy:
      return L"未清除：工具没有写出副本（见上面工具的输出）";
    case Outcome::kNotInBatch:
      return L"未清除：文件名含有批处理文件无法表示的字符";
    case Outcome::kStopped:
      return L"未清除：清除已停止";
    case Outcome::kRefused:
      return L"未清除：其他程序传来的不是有效的文件路径，已忽略";
    case Outcome::kTooSmall:
      return L"未替换：副本比原文件小 200000 字节或更多" + kept;
    case Outcome::kReadOnly:
      return L"未替换：原文件是只读的" + kept;
    case Outcome::kHeld:
      return L"未替换：原文件正被其他程序使用" + kept;
    case Outcome::kAccessDenied:
      return L"未替换：没有替换原文件的权限" + kept;
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
    case Outcome::kStopped:
    case Outcome::kRefused:
      return 2;
    default:
      return 3;
  }
}

std::wstring Heading(size_t films) {
  return L"\r\n清除结果（共 " + std::to_wstring(films) + L" 个文件）：\r\n";
}

}  // namespace

std::wstring OutcomeSection(const std::vector<FilmOutcome>& outcomes, RunEnd end) {
  if (end == RunEnd::kBatchNotWritten) {
    return Heading(outcomes.size()) + L"未清除：无法写出批处理文件，没有处理任何文件。\r\n";
  }
  if (end == RunEnd::kEventsNotWritten) {
    return Heading(outcomes.size()) + L"未清除：无法写出事件文件 Event.txt，没有处理任何文件。\r\n";
  }
  if (outcomes.empty() && end == RunEnd::kCompleted) return {};
  std::wstring section = Heading(outcomes.size());
  std::array<int, 4> counts = {};
  int replaced = 0;
  int stopped = 0;
  for (const FilmOutcome& film : outcomes) {
    section += L"  " + film.entry + L"：" + OutcomeText(film) + L"\r\n";
    ++counts[static_cast<size_t>(GroupOf(film.outcome))];
    if (film.outcome == Outcome::kReplaced) ++replaced;
    if (film.outcome == Outcome::kStopped) ++stopped;
  }
  section += L"合计：已清除 " + std::to_wstring(counts[0]) + L" 个（其中已替换原文件 " +
             std::to_wstring(replaced) + L" 个），没有事件 " + std::to_wstring(counts[1]) +
             L" 个，未清除 " + std::to_wstring(counts[2]) + L" 个，已清除但未替换 " +
             std::to_wstring(counts[3]) + L" 个。\r\n";
  if (end == RunEnd::kStopped) {
    section += L"清除已停止：" + std::to_wstring(stopped) +
               L" 个文件未处理，正在处理的文件保持原样，其未完成的副本已删除。\r\n";
  }
  return section;
}

}  // namespace run
