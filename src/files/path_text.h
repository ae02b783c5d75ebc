// Rules on path texts that need no file system: the parent folder of a path, and the folders that
// folder creation makes along a path.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace files {

// The folder that holds `path`, without a trailing separator; empty when the path has no
// separator. One trailing separator is ignored ("C:\v\sub\" gives "C:\v"). Both "\" and "/"
// separate; when the path holds any "/", the result uses "/" throughout.
std::wstring ParentFolder(std::wstring_view path);

// The folders, each with its trailing "\", that MakePath tries to create for a missing `path`, in
// order from the outermost. Never the drive root (creation starts after the first ":"), nor the
// server or share of a network path (it starts after the "\" that ends the share name; a network
// path without a share gives nothing). A relative path starts at its first character; an empty
// path gives nothing.
std::vector<std::wstring> FoldersAlongPath(std::wstring_view path);

}  // namespace files
