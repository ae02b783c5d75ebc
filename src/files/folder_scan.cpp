#include "files/folder_scan.h"

#include <exception>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <windows.h>

#include "files/folder_scan_order.h"
#include "files/user_locale_case.h"
#include "platform/message_pump.h"
#include "platform/screen_pointer.h"
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
    } while (FindNextFileW(listing.Get(), &entry));
  }
};

}  // namespace

std::wstring ScanFolder(const std::wstring& folder, const std::wstring& patterns) {
  if (folder.empty()) return {};
  platform::BusyPointerScope busy;
  // The listing runs on a worker thread while this thread handles its window messages the moment
  // they arrive, also while one slow directory read (a network folder) holds the worker up.
  // Checking the queue after each entry instead is a round trip to the window server per entry:
  // under Wine that alone costs several times the whole listing of a large tree.
  platform::UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) throw std::system_error(static_cast<int>(GetLastError()), std::system_category());
  std::vector<std::wstring> paths;
  std::exception_ptr failure;
  std::thread worker([&] {
    try {
      FileSystemLister lister;
      paths = ScanFolderPaths(folder, patterns, lister, LowerCaseUserLocale);
    } catch (...) {
      failure = std::current_exception();
    }
    SetEvent(done.Get());
  });
  (void)platform::WaitPumping(done.Get());
  worker.join();
  if (failure) std::rethrow_exception(failure);
  return ScanText(paths);
}

}  // namespace files
