// ScanFolder over a large tree against a bare FindFirstFileW/FindNextFileW walk of the same tree
// in the same run. Usage: scan_folder_bench FOLDER [PATTERNS] [ROUNDS]. Prints the best time of
// each, their ratio, and the median of the rounds' own ratios: the machine may be busy with other
// work, and the best time is the one least disturbed by it.
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include <windows.h>

#include "files/folder_scan.h"
#include "platform/unique_handle.h"
#include "stopwatch.h"

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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: scan_folder_bench FOLDER [PATTERNS] [ROUNDS]\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  const std::wstring patterns = argc > 2 ? argv[2] : L"*";
  const int rounds = argc > 3 ? std::max(_wtoi(argv[3]), 1) : 5;

  size_t walked = BareWalk(folder);  // warms the file system's caches for both
  size_t found = 0;
  double bestWalk = 1e300;
  double bestScan = 1e300;
  std::vector<double> ratios;
  for (int round = 0; round < rounds; ++round) {
    // The two take turns at going first, so neither always finds the caches the warmer.
    double walk = 0;
    double scan = 0;
    std::wstring text;
    const auto timeWalk = [&] { walk = bench::Milliseconds([&] { walked = BareWalk(folder); }); };
    const auto timeScan = [&] {
      scan = bench::Milliseconds([&] { text = files::ScanFolder(folder, patterns); });
    };
    if (round % 2 == 0) {
      timeWalk();
      timeScan();
    } else {
      timeScan();
      timeWalk();
    }
    found = static_cast<size_t>(std::count(text.begin(), text.end(), L'\0'));
    bestWalk = std::min(bestWalk, walk);
    bestScan = std::min(bestScan, scan);
    ratios.push_back(scan / walk);
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("tree: %zu files; ScanFolder found %zu; %d rounds\n", walked, found, rounds);
  std::printf("bare FindFirstFileW walk, best  %10.1f ms\n", bestWalk);
  std::printf("ScanFolder, best                %10.1f ms\n", bestScan);
  std::printf("ratio of the best times         %10.2f\n", bestScan / bestWalk);
  std::printf("median ratio of a round         %10.2f\n", ratios[ratios.size() / 2]);
  return 0;
}
