// Item batches (several paths in one text, joined by a separator) and the merge of a batch into
// the entries of a list, as the add-files button and drops onto the list both do it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/lower_case.h"

namespace files {

// The separator every caller uses.
inline constexpr wchar_t kBatchSeparator = L'\0';

// The pieces of `batch` between the separators, an empty piece for two separators in a row.
// The empty text is the empty batch: no pieces at all.
std::vector<std::wstring> SplitBatch(std::wstring_view batch, wchar_t separator);

// The pieces joined by `separator`, with none before the first or after the last.
std::wstring JoinBatch(const std::vector<std::wstring>& pieces, wchar_t separator);

// The entries a list holds after merging `batch` into its `listed` entries:
// - the batch's pieces first, in their order, each as spelled in the batch;
// - then, with `keepExisting`, each listed entry in its order unless it equals a piece of the
//   batch as a whole item, letter case aside (`lower` on both sides). Only the batch is looked
//   at: the batch's own pieces and the listed entries are never compared among themselves, so a
//   path named twice in the batch is listed twice. An entry that holds the separator is looked
//   for as a run of whole pieces, and adds its own pieces when it is kept.
// An empty batch changes nothing: the result is `listed` as it is. Runs in time linear in the
// total length, where comparing every entry with the whole batch text would be quadratic.
std::vector<std::wstring> MergeItems(std::wstring_view batch, wchar_t separator,
                                     const std::vector<std::wstring>& listed, bool keepExisting,
                                     LowerCase lower);

}  // namespace files
