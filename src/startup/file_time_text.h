// What the freshness check asks of the file system: does a file exist, and its last-modified time
// as the text that the settings records hold.
#pragma once

#include <optional>
#include <string>

namespace startup {

// True for an existing file whatever its attributes (read-only, hidden, system, archive); false
// for a folder of that name and when the check itself fails.
[[nodiscard]] bool IsExistingFile(const std::wstring& path);

// True for an existing folder.
[[nodiscard]] bool IsExistingFolder(const std::wstring& path);

// The file's last-write time in local time as "short date" + " " + "long time" in the user's
// locale, the same text for writing a record and for comparing with it. Nothing for a folder or
// when the time cannot be read.
[[nodiscard]] std::optional<std::wstring> FileDateTimeText(const std::wstring& path);

}  // namespace startup
