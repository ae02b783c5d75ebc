// Splitting a command-line text into its arguments: blanks separate, double quotes group blanks
// and are removed wherever they stand.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace process {

// The reserved source value that stands for the program's own argument text.
inline constexpr std::wstring_view kOwnCommandLine = L"$:Command()";

// Joined form: each separating blank (outside quotes) becomes CR LF. The in-quotes flag flips at
// every double quote across the whole text and is never reset between arguments.
std::wstring SplitArgumentsJoined(std::wstring_view text);

// List form: the joined text cut at every CR LF. An empty joined text gives an empty list; two
// blanks in a row, or a trailing blank, give empty arguments. A CR LF already in the text
// separates too.
std::vector<std::wstring> SplitArguments(std::wstring_view text);

// The same, where `source` may be kOwnCommandLine (compared exactly), which reads the running
// program's own argument text. Defined in the Windows-only part of the module.
std::vector<std::wstring> GetArguments(std::wstring_view source);
std::wstring GetArgumentsJoined(std::wstring_view source);

// The program's argument text: what follows the program's name on its command line, without the
// blanks that separate the two. Pure so that it can be tested without a process.
std::wstring_view ArgumentTextOf(std::wstring_view commandLine);

}  // namespace process
