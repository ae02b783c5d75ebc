#include "rm/event_text.h"

#include <cstdio>

namespace rm {

namespace {

constexpr std::uint32_t kDsPerSecond = 10;
constexpr std::uint32_t kDsPerMinute = 60 * kDsPerSecond;
constexpr std::uint32_t kDsPerHour = 60 * kDsPerMinute;
constexpr std::uint32_t kDsPerDay = 24 * kDsPerHour;

// A stray CR (a file saved with CR CR LF, say) is white space like the rest.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Splits off the first blank-separated word of `rest` (which starts at a non-blank).
std::string_view NextWord(std::string_view& rest) {
  std::size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  const std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  return word;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsRemWord(std::string_view word) {
  return word.size() == 3 && Lower(word[0]) == 'r' && Lower(word[1]) == 'e' &&
         Lower(word[2]) == 'm';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool ParseFlag(std::string_view word, std::uint16_t& type) {
  if (word.size() == 1) {
    switch (Lower(word[0])) {
      case 'u':
        type = kEventUrl;
        return true;
      case 'i':
        type = kEventTitle;
        return true;
      case 'a':
        type = kEventAuthor;
        return true;
      case 'c':
        type = kEventCopyright;
        return true;
      default:
        return false;
    }
  }
  if (word.size() != 5 || Lower(word[0]) != 'x') return false;
  std::uint32_t code = 0;
  for (char c : word.substr(1)) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    code = code * 16 + static_cast<std::uint32_t>(d);
  }
  type = static_cast<std::uint16_t>(code);
  return true;
}

// Digits only, at most nine of them so the value cannot overflow.
bool ParseNumber(std::string_view digits, std::uint64_t& value) {
  if (digits.empty() || digits.size() > 9) return false;
  value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return true;
}

}  // namespace

bool ParseEventTime(std::string_view text, std::uint32_t& deciseconds) {
  std::string_view parts[4];
  std::size_t count = 0;
  for (;;) {
    const std::size_t colon = text.find(':');
    if (count == 4) return false;
    parts[count++] = text.substr(0, colon);
    if (colon == std::string_view::npos) break;
    text.remove_prefix(colon + 1);
  }
  // The seconds may carry tenths; the fraction must be an exact number of tenths.
  std::string_view seconds = parts[count - 1];
  std::uint64_t tenths = 0;
  const std::size_t dot = seconds.find('.');
  if (dot != std::string_view::npos) {
    std::string_view fraction = seconds.substr(dot + 1);
    seconds = seconds.substr(0, dot);
    if (fraction.empty() || fraction.size() > 3) return false;
    std::uint64_t f = 0;
    if (!ParseNumber(fraction, f)) return false;
    for (std::size_t i = fraction.size(); i < 3; ++i) f *= 10;
    if (f % 100 != 0) return false;
    tenths = f / 100;
  }
  static constexpr std::uint64_t kUnits[4] = {kDsPerSecond, kDsPerMinute, kDsPerHour, kDsPerDay};
  static constexpr std::uint64_t kLimits[4] = {60, 60, 24, 0};
  std::uint64_t total = tenths;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t unit = count - 1 - i;  // 0 = seconds, 1 = minutes, ...
    std::uint64_t v = 0;
    if (!ParseNumber(i == count - 1 ? seconds : parts[i], v)) return false;
    // Only the leading field may exceed its natural range ("90" seconds is fine, "1:90" is not).
    if (i > 0 && v >= kLimits[unit]) return false;
    total += v * kUnits[unit];
  }
  if (total > kMaxEventDs) return false;
  deciseconds = static_cast<std::uint32_t>(total);
  return true;
}

std::string FormatEventTime(std::uint32_t ds) {
  const std::uint32_t days = ds / kDsPerDay;
  const std::uint32_t hours = ds % kDsPerDay / kDsPerHour;
  const std::uint32_t minutes = ds % kDsPerHour / kDsPerMinute;
  const std::uint32_t seconds = ds % kDsPerMinute / kDsPerSecond;
  char text[48];
  if (days > 0) {
    std::snprintf(text, sizeof text, "%u:%02u:%02u:%02u.%u", days, hours, minutes, seconds,
                  ds % kDsPerSecond);
  } else {
    std::snprintf(text, sizeof text, "%02u:%02u:%02u.%u", hours, minutes, seconds,
                  ds % kDsPerSecond);
  }
  return text;
}

std::string EventFlag(std::uint16_t type) {
  switch (type) {
    case kEventUrl:
      return "u";
    case kEventTitle:
      return "i";
    case kEventAuthor:
      return "a";
    case kEventCopyright:
      return "c";
    default: {
      char text[8];
      std::snprintf(text, sizeof text, "x%04X", static_cast<unsigned>(type));
      return text;
    }
  }
}

bool ParseEventText(std::string_view text, std::vector<Event>& events, EventTextError& error) {
  events.clear();
  error = EventTextError{};
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // Notepad's UTF-8 mark
  std::size_t lineNumber = 0;
  auto fail = [&](EventTextProblem problem, std::string_view token) {
    error = EventTextError{problem, lineNumber, std::string(token)};
    events.clear();
    return false;
  };
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    line = TrimBlanks(line);
    if (line.empty() || line.front() == '#') continue;
    std::string_view rest = line;
    const std::string_view flag = NextWord(rest);
    if (IsRemWord(flag)) continue;
    Event event;
    if (!ParseFlag(flag, event.type)) return fail(EventTextProblem::kBadFlag, flag);
    const std::string_view start = NextWord(rest);
    const std::string_view end = NextWord(rest);
    if (end.empty()) return fail(EventTextProblem::kMissingTime, line);
    if (!ParseEventTime(start, event.startDs)) return fail(EventTextProblem::kBadTime, start);
    if (!ParseEventTime(end, event.endDs)) return fail(EventTextProblem::kBadTime, end);
    if (event.endDs < event.startDs) return fail(EventTextProblem::kEndBeforeStart, end);
    if (!events.empty() && event.startDs < events.back().startDs) {
      return fail(EventTextProblem::kNotAscending, start);
    }
    if (rest.empty()) return fail(EventTextProblem::kMissingText, line);
    if (rest.size() > kMaxEventText) return fail(EventTextProblem::kTextTooLong, flag);
    if (events.size() == kMaxEvents) return fail(EventTextProblem::kTooManyEvents, flag);
    event.text.assign(rest);
    events.push_back(std::move(event));
  }
  return true;
}

std::string Describe(const EventTextError& error) {
  std::string what;
  switch (error.problem) {
    case EventTextProblem::kNone:
      return "没有错误";
    case EventTextProblem::kBadFlag:
      what = "无法识别的事件类型“" + error.token + "”（应为 u、i、a、c 或 xHHHH）";
      break;
    case EventTextProblem::kMissingTime:
      what = "缺少开始时间或结束时间";
      break;
    case EventTextProblem::kBadTime:
      what = "时间“" + error.token + "”无效（格式：[[[天:]时:]分:]秒[.十分之一秒]）";
      break;
    case EventTextProblem::kMissingText:
      what = "结束时间后面缺少事件文本（URL 或文字）";
      break;
    case EventTextProblem::kEndBeforeStart:
      what = "结束时间“" + error.token + "”早于开始时间";
      break;
    case EventTextProblem::kNotAscending:
      what = "开始时间“" + error.token + "”早于上一个事件（事件须按开始时间排列）";
      break;
    case EventTextProblem::kTextTooLong:
      what = "事件文本太长（最多 " + std::to_string(kMaxEventText) + " 字节）";
      break;
    case EventTextProblem::kTooManyEvents:
      what = "事件太多（最多 " + std::to_string(kMaxEvents) + " 个）";
      break;
  }
  return "第 " + std::to_string(error.line) + " 行：" + what;
}

std::string TextAfterDump(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return std::string(TrimBlanks(line));
}

bool CanDumpEvent(const Event& event) {
  return !TextAfterDump(event.text).empty() && event.text.size() <= kMaxEventText &&
         event.startDs <= kMaxEventDs && event.endDs <= kMaxEventDs && event.endDs >= event.startDs;
}

std::string FormatEventText(const std::vector<Event>& events) {
  std::string out =
      "# Events dumped by rmevents; feed this file back with -e. One event a line:\r\n"
      "# FLAG START END TEXT, FLAG u = URL (0x0020), i = title (0x0021), a = author (0x0022),\r\n"
      "# c = copyright (0x0023), xHHHH = another type code, kept as found.\r\n";
  for (const Event& e : events) {
    const std::string flag = EventFlag(e.type);
    if (flag[0] == 'x') out += "# unknown event type 0x" + flag.substr(1) + "\r\n";
    std::string text = e.text;
    bool changed = false;
    for (char& c : text) {
      if (c == '\r' || c == '\n') {
        c = ' ';
        changed = true;
      }
    }
    if (changed) out += "# the next event's text held line breaks, written as blanks\r\n";
    if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()))) {
      out += "# the next event's text starts or ends with blanks, which reading drops\r\n";
    }
    out += flag + ' ' + FormatEventTime(e.startDs) + ' ' + FormatEventTime(e.endDs) + ' ' + text +
           "\r\n";
  }
  return out;
}

}  // namespace rm
