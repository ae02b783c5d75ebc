// The texts of one event-clearing run: the batch file that runs rmevents once per listed film, the
// names of the run's files, and Notepad's command line. Pure, so the exact bytes can be checked
// without a file system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace run {

// Line 1 of Go.bat: makes the events file that holds one comment line and no events, which
// rmevents takes as "remove every event". Ends with CR LF.
std::wstring EventsFileLine(std::wstring_view tempFolder);

// The tool line for one entry: rmevents reads the entry and writes "<entry>.tmp" beside it, with
// its report going to ret.txt, replacing it (`first`) or appended to it. The tool is named with its
// ".exe". Every "%" of the entry and of TMP is doubled, because cmd expands "%...%" even inside
// quotes and a name with "%" would reach the tool altered. Ends with CR LF.
std::wstring ToolLine(std::wstring_view tempFolder, std::wstring_view entry, bool first);

// The whole of Go.bat: the events-file line, then one tool line per entry in list order. An empty
// list gives the events-file line alone.
std::wstring BatchText(std::wstring_view tempFolder, const std::vector<std::wstring>& entries);

// tempFolder + "\Go.bat", used as it is: no separator is added or removed.
std::wstring BatchFilePath(std::wstring_view tempFolder);

// tempFolder + "\ret.txt": the tool's report, and the run's own section after it.
std::wstring ReportFilePath(std::wstring_view tempFolder);

// tempFolder + "\Event.txt": the events list (a comment line, no events) the tool is given.
std::wstring EventsFilePath(std::wstring_view tempFolder);

// tempFolder + "\Status.txt": where the tool notes each film's start and end for the run.
std::wstring StatusFilePath(std::wstring_view tempFolder);

// cmd, named by its full path, running the batch: "<cmd>" /d /v:off /s /c ""<batch>"". /s makes
// cmd drop just the outer pair of quotes, so the batch's path stays quoted whatever it holds; a
// bare path would be split at its first blank and "C:\Users\John.exe" looked for. /d skips the
// user's AutoRun command (often a "chcp" that would change the code page cmd reads Go.bat in) and
// /v:off keeps "!" in a film's name from being taken for delayed expansion, whatever the registry
// says, so the batch runs the same for every user.
std::wstring BatchCommandLine(std::wstring_view cmdPath, std::wstring_view batchPath);

// Notepad on the run's report: notepad "<tempFolder>\ret.txt".
std::wstring NotepadCommandLine(std::wstring_view tempFolder);

// Where rmevents writes the cleaned copy of `entry`: the entry with ".tmp" appended.
std::wstring CleanedCopyPath(std::wstring_view entry);

}  // namespace run
