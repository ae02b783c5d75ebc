#include "files/folder_scan_order.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "files/wildcard_match.h"

namespace files {
namespace {

class Scan {
 public:
  Scan(const PatternList& patterns, FolderLister& lister, LowerCase lower)
      : patterns_(patterns), lister_(lister), lower_(lower) {}

  // The result is gathered back to front: a folder puts its own files in reversed, then each
  // subfolder in the order found adds its own reversed result. Reversing the whole once at the
  // end gives the scan order (last subfolder first, own files last) with every path moved once,
  // where prepending each subfolder's result would copy the growing result again and again.
  void Folder(const std::wstring& folder) {
    std::vector<std::wstring> subfolders;
    const size_t ownFrom = reversed_.size();
    lister_.List(folder, [&](std::wstring_view name, bool isFolder) {
      if (name.find(L'?') != std::wstring_view::npos) return;
      if (isFolder) {
        if (name != L"." && name != L"..") {
          subfolders.push_back(folder + std::wstring(name) + L'\\');
        }
        return;
      }
      lowered_.assign(name);
      if (name.find(L'.') == std::wstring_view::npos) lowered_ += L'.';
      lower_(lowered_);
      if (!patterns_.Matches(lowered_)) return;
      std::wstring path = folder + std::wstring(name);
      if (name.find(L'.') == std::wstring_view::npos) path += L'.';
      reversed_.push_back(std::move(path));
    });
    std::reverse(reversed_.begin() + static_cast<std::ptrdiff_t>(ownFrom), reversed_.end());
    for (const std::wstring& subfolder : subfolders) Folder(subfolder);
  }

  std::vector<std::wstring> Result() && {
    std::reverse(reversed_.begin(), reversed_.end());
    return std::move(reversed_);
  }

 private:
  const PatternList& patterns_;
  FolderLister& lister_;
  LowerCase lower_;
  std::vector<std::wstring> reversed_;
  std::wstring lowered_;
};

}  // namespace

std::vector<std::wstring> ScanFolderPaths(std::wstring_view folder, std::wstring_view patternText,
                                          FolderLister& lister, LowerCase lower) {
  if (folder.empty()) return {};
  std::wstring start(folder);
  if (start.back() != L'\\') start += L'\\';
  std::wstring loweredPatterns(patternText);
  lower(loweredPatterns);
  const PatternList patterns(loweredPatterns);
  Scan scan(patterns, lister, lower);
  scan.Folder(start);
  return std::move(scan).Result();
}

std::wstring ScanText(const std::vector<std::wstring>& paths) {
  size_t length = paths.size();
  for (const std::wstring& path : paths) length += path.size();
  std::wstring text;
  text.reserve(length);
  for (const std::wstring& path : paths) {
    text += L'\0';
    text += path;
  }
  return text;
}

}  // namespace files
