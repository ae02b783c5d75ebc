// The merge of a batch into a list the slow, literal way: one text search of the framed batch for
// every listed entry. The tests hold the fast merge to its results; the benchmark times both.
#pragma once

#include <string>
#include <vector>

#include "files/item_merge.h"
#include "files/lower_case.h"

namespace files::testing {

inline std::vector<std::wstring> MergeItemsBySearch(std::wstring items, wchar_t separator,
                                                    const std::vector<std::wstring>& listed,
                                                    bool keepExisting, LowerCase lower) {
  if (items.empty()) return listed;
  if (keepExisting) {
    std::wstring lookup = separator + items + separator;
    lower(lookup);
    for (const std::wstring& entry : listed) {
      std::wstring framed = separator + entry + separator;
      lower(framed);
      if (lookup.find(framed) == std::wstring::npos) {
        items += separator;
        items += entry;
      }
    }
  }
  return SplitBatch(items, separator);
}

}  // namespace files::testing
