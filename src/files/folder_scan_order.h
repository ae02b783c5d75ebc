// The folder scan's rules without the file system: which entries count, how names without an
// extension are reported, and the order of the result. The directory listing itself is given by
// the caller, so the rules are tested on made-up trees.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "files/lower_case.h"

namespace files {

class FolderLister {
 public:
  using Take = std::function<void(std::wstring_view name, bool isFolder)>;

  virtual ~FolderLister() = default;
  // Calls `take` for every entry of `folder` (which ends in "\"), files and folders, hidden and
  // system ones included, in the order the listing gives them. A folder that cannot be listed
  // gives no entries. The listing is finished, and let go of, before this returns.
  virtual void List(const std::wstring& folder, const Take& take) = 0;
};

// The full paths of the files below `folder` whose names match one of `patternText`'s elements,
// in scan order:
// - both the pattern text and each name are lower-cased with `lower` before they are matched;
// - a name without "." is matched and reported with a "." appended ("readme" as "readme.");
// - names holding "?" are passed over, and "." and ".." are never entered;
// - a folder's own matching files come in listing order, after the results of its subfolders,
//   which come last-found first: for F holding f1, f2 and the subfolders A then B, the order is
//   B's files, A's files, f1, f2. Folders are still listed in the order found, each one's listing
//   finished before any of its subfolders is listed.
// An empty `folder` gives nothing and lists nothing; a "\" is added to one that lacks it.
std::vector<std::wstring> ScanFolderPaths(std::wstring_view folder, std::wstring_view patternText,
                                          FolderLister& lister, LowerCase lower);

// The scan's own text form: every path preceded by one NUL.
std::wstring ScanText(const std::vector<std::wstring>& paths);

}  // namespace files
