#include "files/path_text.h"

#include <algorithm>

namespace files {

std::wstring ParentFolder(std::wstring_view path) {
  const bool hadSlash = path.find(L'/') != std::wstring_view::npos;
  std::wstring text(path);
  std::replace(text.begin(), text.end(), L'/', L'\\');
  if (!text.empty() && text.back() == L'\\') text.pop_back();
  const size_t last = text.rfind(L'\\');
  if (last == std::wstring::npos) return {};
  text.resize(last);
  if (hadSlash) std::replace(text.begin(), text.end(), L'\\', L'/');
  return text;
}

std::vector<std::wstring> FoldersAlongPath(std::wstring_view path) {
  if (path.empty()) return {};
  std::wstring text(path);
  if (text.back() != L'\\') text += L'\\';

  // Index of the first character a created folder may end at (its closing "\").
  size_t from = 0;
  if (const size_t colon = text.find(L':'); colon != std::wstring::npos) {
    // "C:\a\" starts with "C:\a\": the "\" right after the colon is the root's own.
    from = colon + 2;
  } else if (const size_t unc = text.find(L"\\\\"); unc != std::wstring::npos) {
    const size_t serverEnd = text.find(L'\\', unc + 2);
    const size_t shareEnd =
        serverEnd == std::wstring::npos ? serverEnd : text.find(L'\\', serverEnd + 1);
    // Without a share there is nothing below it to create, and the server and share themselves
    // are never made.
    if (shareEnd == std::wstring::npos) return {};
    from = shareEnd + 1;
  }

  std::vector<std::wstring> folders;
  for (size_t at = text.find(L'\\', from); at != std::wstring::npos;
       at = text.find(L'\\', at + 1)) {
    folders.push_back(text.substr(0, at + 1));
  }
  return folders;
}

}  // namespace files
