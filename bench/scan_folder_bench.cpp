// ScanFolder over a large tree against a bare FindFirstFileW/FindNextFileW walk of the same tree
// in the same run. Usage: scan_folder_bench FOLDER [PATTERNS] [ROUNDS]. Prints the best time of
// each and their ratio.
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

#include <windows.h>

#include "files/folder_scan.h"
#include "platform/unique_handle.h"

namespace {

// Every file below `folder`, counted; the least any scan of the tree has to do.
size_t BareWalk(const std::wstring& folder) {
  size_t files = 0;
  WIN32_FIND_DATAW entry;
  platform::UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
  if (!find) return 0;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      ++files;
    } else if (std::wcscmp(entry.cFileName, L".") != 0 &&
               std::wcscmp(entry.cFileName, L"..") != 0) {
      files += BareWalk(folder + L"\\" + entry.cFileName);
    }
  } while (FindNextFileW(find.Get(), &entry));
  return files;
}

template <typename Work>
double Milliseconds(Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: scan_folder_bench FOLDER [PATTERNS] [ROUNDS]\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  const std::wstring patterns = argc > 2 ? argv[2] : L"*";
  const int rounds = argc > 3 ? _wtoi(argv[3]) : 3;

  size_t walked = BareWalk(folder);  // warms the file system's caches for both
  size_t found = 0;
  double bestWalk = 1e300;
  double bestScan = 1e300;
  for (int round = 0; round < rounds; ++round) {
    const double walk = Milliseconds([&] { walked = BareWalk(folder); });
    std::wstring text;
    const double scan = Milliseconds([&] { text = files::ScanFolder(folder, patterns); });
    found = 0;
    for (const wchar_t c : text) found += c == L'\0';
    if (walk < bestWalk) bestWalk = walk;
    if (scan < bestScan) bestScan = scan;
  }
  std::printf("tree: %zu files; ScanFolder found %zu\n", walked, found);
  std::printf("bare FindFirstFileW walk %10.1f ms\n", bestWalk);
  std::printf("ScanFolder               %10.1f ms\n", bestScan);
  std::printf("ratio ScanFolder / walk  %10.2f\n", bestScan / bestWalk);
  return 0;
}
