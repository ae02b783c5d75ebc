// The replacement step of a run: each cleaned copy that passes the size rule takes its original's
// place in one move, so a crash at any moment leaves the film under its own name, either the
// original or the cleaned copy, never only under the ".tmp" name.
#pragma once

#include <string>
#include <vector>

#include "run/replacement_rule.h"

namespace run {

// What the file system says about `path`, read from its attributes (no wildcard matching, so a
// "?" in a name matches nothing else). A folder counts as unreadable: it is never a film.
FileState ReadFileState(const std::wstring& path);

// Moves `copy` onto `original` in one step, replacing it. A read-only original, or one another
// program holds open without delete sharing, is refused: both files then stay as they were.
[[nodiscard]] bool MoveCopyIntoPlace(const std::wstring& copy, const std::wstring& original);

struct ReplacementResult {
  Decision decision = Decision::kNoCopy;
  bool replaced = false;  // kReplace was decided and the move succeeded
};

// The step for one list entry: its cleaned copy (CleanedCopyPath) judged by DecideReplacement,
// then moved into place when it passes.
ReplacementResult ReplaceWithCleanedCopy(const std::wstring& entry);

// The step over the list, in order. A failure leaves that entry alone and goes on with the next;
// nothing is reported. An entry listed twice finds no copy the second time.
void ReplaceCleanedCopies(const std::vector<std::wstring>& entries);

}  // namespace run
