// Merging 10,000 new paths into a list of 10,000 (a quarter of them listed already, in other
// letter case): MergeItems, which looks each listed entry up in a hash set of the new items,
// against the literal merge that searches the whole framed batch text once per listed entry.
// Prints both times and their ratio; both must give the same entries.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "add_items_reference.h"
#include "files/item_merge.h"
#include "stopwatch.h"

namespace {

void AsciiLowerCase(std::wstring& text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
}

std::wstring FilmPath(int series, int episode) {
  return L"D:\\电影\\Series " + std::to_wstring(series) + L"\\Episode " + std::to_wstring(episode) +
         L" - The Long Title.rmvb";
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  std::vector<std::wstring> listed;
  std::vector<std::wstring> fresh;
  for (int i = 0; i < count; ++i) listed.push_back(FilmPath(1, i));
  // Every fourth new path is listed already, in upper case.
  for (int i = 0; i < count; ++i) {
    std::wstring path = i % 4 == 0 ? FilmPath(1, i * 3 / 4) : FilmPath(2, i);
    if (i % 4 == 0) {
      for (wchar_t& c : path) c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
    }
    fresh.push_back(path);
  }
  const std::wstring batch = files::JoinBatch(fresh, files::kBatchSeparator);

  std::vector<std::wstring> fast;
  std::vector<std::wstring> literal;
  const double fastMs = bench::BestMilliseconds(5, [&] {
    fast = files::MergeItems(batch, files::kBatchSeparator, listed, true, AsciiLowerCase);
  });
  const double literalMs = bench::BestMilliseconds(1, [&] {
    literal = files::testing::MergeItemsBySearch(batch, files::kBatchSeparator, listed, true,
                                                 AsciiLowerCase);
  });
  if (fast != literal) {
    std::printf("the two merges disagree\n");
    return 1;
  }
  std::printf("merge %d new paths into %d listed: %zu entries after\n", count, count, fast.size());
  std::printf("MergeItems (hash set)         %10.2f ms\n", fastMs);
  std::printf("literal text search per entry %10.2f ms\n", literalMs);
  std::printf("ratio literal / MergeItems    %10.1f x\n", literalMs / fastMs);
  return 0;
}
