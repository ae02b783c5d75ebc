// The run's own files in TMP, made fresh by each run under the run lock: the events list the tool
// is given, the report the user reads, and the status file the tool notes its films in. Another
// run's lines, or a file another account left in a shared TMP, never pass for this run's.
#pragma once

#include <string>

#include "platform/unique_handle.h"

namespace run {

// How the report is written: in the ANSI code page where that is Chinese (936), else UTF-8 with a
// byte-order mark, so the Chinese words read right on every Windows.
enum class ReportEncoding { kAnsi, kUtf8 };
[[nodiscard]] ReportEncoding ReportEncodingOfSystem();

// Makes `path` anew as ours, holding one comment line and no events, and keeps it open so that
// nobody can change it while the batch runs (readers are let in). An empty handle when an earlier
// file could not be removed or the new one not written: the run must not go on, because the tool
// would add whatever events stand in a file that is not ours.
[[nodiscard]] platform::UniqueHandle MakeEventsFile(const std::wstring& path);

// Empties `path`, or makes it; with kUtf8, the byte-order mark is its first content.
[[nodiscard]] bool StartFresh(const std::wstring& path, ReportEncoding encoding);

// Appends `text` to the report in its encoding.
[[nodiscard]] bool AppendToReport(const std::wstring& path, const std::wstring& text,
                                  ReportEncoding encoding);

}  // namespace run
