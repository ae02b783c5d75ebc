// Where a container entry lands: names inside the container are either absolute (a drive-letter
// or network path, used as they stand) or relative to the folder that receives the division.
#pragma once

#include <string>
#include <string_view>

namespace startup {

enum class EntryNameKind { kRelative, kDriveLetter, kNetwork };

// Drive letter: the second and third characters are ":\". Network: begins with "\\". Anything
// else, subfolders included, is relative.
[[nodiscard]] EntryNameKind ClassifyEntryName(std::wstring_view name);

// `folder` with one "\" at its end (an empty folder stays empty).
[[nodiscard]] std::wstring WithTrailingBackslash(std::wstring_view folder);

// The path an entry named `name` is written to; `targetDir` must end in "\".
[[nodiscard]] std::wstring EntryPath(std::wstring_view targetDir, std::wstring_view name);

}  // namespace startup
