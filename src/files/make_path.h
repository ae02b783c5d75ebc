// Creating every missing folder along a path.
#pragma once

#include <string>

namespace files {

// Creates the missing folders of `path` (drive-letter, network or relative; with or without a
// trailing "\"), outermost first, as FoldersAlongPath lists them. Nothing is reported: a folder
// that exists or cannot be made is skipped, and the caller looks at the folder afterwards.
void MakePath(const std::wstring& path);

}  // namespace files
