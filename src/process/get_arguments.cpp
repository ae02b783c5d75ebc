#include "process/get_arguments.h"

namespace process {

std::wstring SplitArgumentsJoined(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  bool inQuotes = false;
  for (wchar_t c : text) {
    if (c == L'"') {
      inQuotes = !inQuotes;
    } else if (c == L' ' && !inQuotes) {
      out += L"\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::wstring> SplitArguments(std::wstring_view text) {
  const std::wstring joined = SplitArgumentsJoined(text);
  std::vector<std::wstring> parts;
  if (joined.empty()) return parts;
  std::wstring_view rest = joined;
  for (;;) {
    const size_t at = rest.find(L"\r\n");
    if (at == std::wstring_view::npos) {
      parts.emplace_back(rest);
      return parts;
    }
    parts.emplace_back(rest.substr(0, at));
    rest.remove_prefix(at + 2);
  }
}

std::wstring_view ArgumentTextOf(std::wstring_view commandLine) {
  // The program name is either quoted (and then ends at the closing quote, blanks included) or
  // runs up to the first blank or tab, the way Windows itself finds argv[0].
  size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    const size_t close = commandLine.find(L'"', 1);
    i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t') ++i;
  }
  while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
  return commandLine.substr(i);
}

}  // namespace process
