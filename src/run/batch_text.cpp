#include "run/batch_text.h"

#include <initializer_list>

namespace run {
namespace {

constexpr std::wstring_view kLineEnd = L"\r\n";

// In a batch file "%%" stands for one "%"; nothing else in a quoted name needs care, because the
// quotes already keep blanks, "&", "^", "<", ">" and "|" from cmd.
std::wstring DoublePercents(std::wstring_view text) {
  std::wstring escaped;
  escaped.reserve(text.size());
  for (const wchar_t c : text) {
    escaped += c;
    if (c == L'%') escaped += L'%';
  }
  return escaped;
}

// The pieces of a line, joined in order.
std::wstring Join(std::initializer_list<std::wstring_view> pieces) {
  std::wstring line;
  for (const std::wstring_view piece : pieces) line += piece;
  return line;
}

}  // namespace

std::wstring EventsFileLine(std::wstring_view tempFolder) {
  return Join({L"echo rem > \"", DoublePercents(tempFolder), L"\\Event.txt\"", kLineEnd});
}

std::wstring ToolLine(std::wstring_view tempFolder, std::wstring_view entry, bool first) {
  const std::wstring name = DoublePercents(entry);
  const std::wstring temp = DoublePercents(tempFolder);
  // The tool by its whole name: without ".exe", cmd would try each PATHEXT extension in turn and
  // run a "rmevents.com" or "rmevents.bat" that someone put into TMP first.
  return Join({L"\"", temp, L"\\rmevents.exe\" -i \"", name, L"\" -o \"", name, L".tmp\" -e \"",
               temp, L"\\Event.txt\" ", first ? L">" : L">>", L"\"", temp, L"\\ret.txt\"",
               kLineEnd});
}

std::wstring BatchText(std::wstring_view tempFolder, const std::vector<std::wstring>& entries) {
  std::wstring text = EventsFileLine(tempFolder);
  for (size_t i = 0; i < entries.size(); ++i) text += ToolLine(tempFolder, entries[i], i == 0);
  return text;
}

std::wstring BatchFilePath(std::wstring_view tempFolder) {
  return std::wstring(tempFolder) + L"\\Go.bat";
}

std::wstring ReportFilePath(std::wstring_view tempFolder) {
  return std::wstring(tempFolder) + L"\\ret.txt";
}

std::wstring EventsFilePath(std::wstring_view tempFolder) {
  return std::wstring(tempFolder) + L"\\Event.txt";
}

std::wstring StatusFilePath(std::wstring_view tempFolder) {
  return std::wstring(tempFolder) + L"\\Status.txt";
}

std::wstring BatchCommandLine(std::wstring_view cmdPath, std::wstring_view batchPath) {
  return Join({L"\"", cmdPath, L"\" /d /v:off /s /c \"\"", batchPath, L"\"\""});
}

std::wstring NotepadCommandLine(std::wstring_view tempFolder) {
  return L"notepad \"" + std::wstring(tempFolder) + L"\\ret.txt\"";
}

std::wstring CleanedCopyPath(std::wstring_view entry) { return std::wstring(entry) + L".tmp"; }

}  // namespace run
