#include "files/folder_scan.h"

#include <windows.h>

#include "files/folder_scan_order.h"
#include "files/screen_pointer.h"
#include "files/user_locale_case.h"
#include "platform/message_pump.h"
#include "platform/unique_handle.h"

namespace files {
namespace {

// True when the ANSI code page spells `name` exactly, as the narrow listing would: a name it
// cannot spell comes back there holding "?".
bool AnsiCanSpell(const wchar_t* name, int length) {
  bool plain = true;
  for (int i = 0; i < length && plain; ++i) plain = name[i] < 0x80;
  if (plain) return true;
  char bytes[MAX_PATH * 2 + 16];
  BOOL usedDefault = FALSE;
  const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, length, bytes,
                                          sizeof(bytes), nullptr, &usedDefault);
  return written > 0 && !usedDefault;
}

class FileSystemLister : public FolderLister {
 public:
  void List(const std::wstring& folder, const Take& take) override {
    WIN32_FIND_DATAW entry;
    // The basic information (no short names) in large batches: what the scan needs, at the
    // lowest cost per entry.
    platform::UniqueFindHandle listing(FindFirstFileExW((folder + L'*').c_str(), FindExInfoBasic,
                                                        &entry, FindExSearchNameMatch, nullptr,
                                                        FIND_FIRST_EX_LARGE_FETCH));
    if (!listing) return;
    do {
      const int length = static_cast<int>(wcsnlen(entry.cFileName, MAX_PATH));
      if (AnsiCanSpell(entry.cFileName, length)) {
        take(std::wstring_view(entry.cFileName, static_cast<size_t>(length)),
             (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
      }
      // The window stays responsive however long the scan runs. A quit request is left for the
      // program's own loop, which sees it once the scan is over.
      static_cast<void>(platform::PumpPendingMessages());
    } while (FindNextFileW(listing.Get(), &entry));
  }
};

}  // namespace

std::wstring ScanFolder(const std::wstring& folder, const std::wstring& patterns) {
  if (folder.empty()) return {};
  BusyPointerScope busy;
  FileSystemLister lister;
  return ScanText(ScanFolderPaths(folder, patterns, lister, LowerCaseUserLocale));
}

}  // namespace files
