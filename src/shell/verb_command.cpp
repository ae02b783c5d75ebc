#include "shell/verb_command.h"

#include <algorithm>

#include "platform/program_name.h"

namespace shell {
namespace {

constexpr std::wstring_view kPlaceholder = L"%1";

wchar_t FoldCase(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + (L'a' - L'A'));
  // Latin-1 capitals À..Þ, except the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 0x20);
  // Full-width Ａ..Ｚ, which a Chinese input method types readily.
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<wchar_t>(c + 0x20);
  return c;
}

}  // namespace

std::wstring OwnCommandLine(std::wstring_view exePath, std::wstring_view extraArgs) {
  const size_t slash = exePath.find_last_of(L"\\/");
  const std::wstring_view folder =
      slash == std::wstring_view::npos ? std::wstring_view{} : exePath.substr(0, slash);
  std::wstring line;
  line += L'"';
  line += folder;
  line += L'\\';
  line += platform::ProgramName(exePath);
  line += L".exe\" ";
  line += extraArgs;
  line += L" \"";
  line += kPlaceholder;
  line += L'"';
  return line;
}

std::wstring ProgramNameOf(std::wstring_view commandLine) {
  return platform::ProgramName(commandLine.substr(0, commandLine.find(L'?')));
}

ResolvedVerb ResolveVerbCommandFor(std::wstring_view exePath, std::wstring_view command,
                                   std::wstring_view verb, std::wstring_view extraArgs) {
  ResolvedVerb out;
  out.command =
      command == kOwnCommandToken ? OwnCommandLine(exePath, extraArgs) : std::wstring(command);
  if (out.command.find(kPlaceholder) == std::wstring::npos) {
    out.command += L' ';
    out.command += extraArgs;
    out.command += L" \"";
    out.command += kPlaceholder;
    out.command += L'"';
  }
  out.programName = ProgramNameOf(out.command);
  out.verb = verb.empty() ? L"用&" + out.programName + L"打开" : std::wstring(verb);
  return out;
}

bool ContainsIgnoringCase(std::wstring_view text, std::wstring_view part) {
  const auto same = [](wchar_t a, wchar_t b) { return FoldCase(a) == FoldCase(b); };
  return std::search(text.begin(), text.end(), part.begin(), part.end(), same) != text.end();
}

}  // namespace shell
