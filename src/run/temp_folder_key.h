// Every Quellin of one user session that has the same TMP shares the run files there (Go.bat,
// Event.txt, ret.txt, rmevents.exe). These names tie the lock over those files and the one-shot
// gathering to that folder, so instances with another TMP never wait for each other.
#pragma once

#include <string>
#include <string_view>

namespace run {

// A short fixed-length key for a TMP text that the caller has already case-folded: "/" and "\"
// count as the same separator and trailing separators are dropped, so "C:\Temp", "c:/temp/" (once
// folded) and "C:\Temp\" give one key. An unset TMP (empty text) is a folder like any other.
[[nodiscard]] std::wstring TempFolderKey(std::wstring_view foldedTempFolder);

// The mutex held from writing Go.bat until the run's report is shown; "Local\" keeps it to the
// user's session.
[[nodiscard]] std::wstring RunLockName(std::wstring_view key);

// The mutex that elects the one-shot start that gathers the others, and the name of the
// message-only window the others hand their films to.
[[nodiscard]] std::wstring GatherMutexName(std::wstring_view key);
[[nodiscard]] std::wstring GatherWindowName(std::wstring_view key);

}  // namespace run
