// Cutting a path into file name, extension and the like, the way the folder scan derives its
// default pattern and the association derives a program's name from its command line.
#pragma once

#include <string>
#include <string_view>

namespace files {

// Every "/" counts as "\", and the text is cut before its first "?". Then, for C:\v\a.b.rm:
//   0  the file name (after the last "\")                  a.b.rm
//   1  the file name without its last extension             a.b
//   2  the text after the last "." of the whole text        rm
//   3  the whole text without its last extension            C:\v\a.b
// Path parts 2 and 3 look at the whole text, so a dot in a folder name counts when the file name
// has none (C:\v.1\readme gives 1\readme and C:\v). A text without "." keeps it all for parts 1
// and 3 and gives nothing for part 2. Other part numbers follow the same steps: every odd one
// cuts like 1, every other even one like 0.
std::wstring GetPathPart(std::wstring_view path, int part);

}  // namespace files
