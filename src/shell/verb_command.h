// The command line and caption of an Explorer verb: expanding the token that stands for this
// program, finding the program's name in a command line, and the default caption.
#pragma once

#include <string>
#include <string_view>

namespace shell {

// Reserved command value: this program's own command line with the clicked file as its argument.
inline constexpr std::wstring_view kOwnCommandToken = L"App.FullExeCMD";
// Reserved icon value: leave the file type's icon as it is.
inline constexpr std::wstring_view kKeepIconToken = L"UseOld";

// The pieces ResolveVerbCommand hands back.
struct ResolvedVerb {
  std::wstring command;      // the command line to store
  std::wstring programName;  // the program's file name without extension, taken from `command`
  std::wstring verb;         // the caller's verb, or the default caption when that was empty
};

// The command line the token stands for, for the executable at `exePath`:
// "<folder>\<name>.exe" <extraArgs> "%1" (two blanks when `extraArgs` is empty).
std::wstring OwnCommandLine(std::wstring_view exePath, std::wstring_view extraArgs);

// The file name without its last extension of the text after the last backslash, where "/" counts
// as "\" and everything from the first "?" is dropped. Applied to a whole command line whose
// program path comes first, it gives the program's name: "D:\T\prog.exe"  "%1" gives prog.
std::wstring ProgramNameOf(std::wstring_view commandLine);

// Expands `command` for the executable at `exePath`: the token (compared exactly) becomes
// OwnCommandLine; a command without "%1" gets a blank, `extraArgs`, a blank and "%1" in quotes; an
// empty `verb` becomes "用&" + programName + "打开".
ResolvedVerb ResolveVerbCommandFor(std::wstring_view exePath, std::wstring_view command,
                                   std::wstring_view verb, std::wstring_view extraArgs);

// Whether `text` contains `part`, ignoring the letter case of Latin letters (ASCII, Latin-1 and
// full-width forms). An empty `part` is always found.
bool ContainsIgnoringCase(std::wstring_view text, std::wstring_view part);

}  // namespace shell
