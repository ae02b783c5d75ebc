// The recursive folder scan on the real file system.
#pragma once

#include <string>

namespace files {

// The files below `folder` (and all its subfolders) whose lower-cased names match one of the
// ";"-separated `patterns`, as a scan text: every full path preceded by one NUL, in the order of
// ScanFolderPaths (each subfolder's result in front of the files found before it). Hidden and
// system files count; a name without extension is matched and reported with a trailing ".".
// Names the ANSI code page cannot spell are passed over, files and folders alike: the batch file
// that carries the paths to the tool could not name them. The busy pointer shows while it runs,
// and the calling thread's window messages are handled as they arrive until it returns. A folder
// or entry that cannot be read adds nothing; an empty `folder` gives the empty text at once.
// Throws only when memory or a thread for the listing cannot be had.
std::wstring ScanFolder(const std::wstring& folder, const std::wstring& patterns);

}  // namespace files
