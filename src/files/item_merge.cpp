#include "files/item_merge.h"

#include <unordered_set>
#include <utility>

namespace files {

std::vector<std::wstring> SplitBatch(std::wstring_view batch, wchar_t separator) {
  std::vector<std::wstring> pieces;
  if (batch.empty()) return pieces;
  size_t from = 0;
  for (;;) {
    const size_t end = batch.find(separator, from);
    if (end == std::wstring_view::npos) {
      pieces.emplace_back(batch.substr(from));
      return pieces;
    }
    pieces.emplace_back(batch.substr(from, end - from));
    from = end + 1;
  }
}

std::wstring JoinBatch(const std::vector<std::wstring>& pieces, wchar_t separator) {
  size_t length = pieces.empty() ? 0 : pieces.size() - 1;
  for (const std::wstring& piece : pieces) length += piece.size();
  std::wstring text;
  text.reserve(length);
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i != 0) text += separator;
    text += pieces[i];
  }
  return text;
}

std::vector<std::wstring> MergeItems(std::wstring_view batch, wchar_t separator,
                                     const std::vector<std::wstring>& listed, bool keepExisting,
                                     LowerCase lower) {
  if (batch.empty()) return listed;
  std::vector<std::wstring> merged = SplitBatch(batch, separator);
  if (!keepExisting) return merged;

  // The batch lower-cased and framed by separators: "|a|b|". An entry is listed already when
  // "|entry|" occurs in it; for an entry without the separator that is exactly when it equals a
  // piece, which a hash set of the pieces answers at once.
  std::wstring lookup;
  lookup.reserve(batch.size() + 2);
  lookup += separator;
  lookup += batch;
  lookup += separator;
  lower(lookup);
  std::unordered_set<std::wstring_view> newPieces;
  for (size_t from = 1; from < lookup.size();) {
    const size_t end = lookup.find(separator, from);
    newPieces.insert(std::wstring_view(lookup).substr(from, end - from));
    from = end + 1;
  }

  std::wstring entryLowered;
  for (const std::wstring& entry : listed) {
    entryLowered = entry;
    lower(entryLowered);
    bool found = false;
    if (entryLowered.find(separator) == std::wstring::npos) {
      found = newPieces.count(entryLowered) != 0;
    } else {
      found = lookup.find(separator + entryLowered + separator) != std::wstring::npos;
    }
    if (found) continue;
    if (entry.find(separator) == std::wstring::npos) {
      merged.push_back(entry);
    } else {
      for (std::wstring& piece : SplitBatch(entry, separator)) merged.push_back(std::move(piece));
    }
  }
  return merged;
}

}  // namespace files
