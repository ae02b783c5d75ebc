// The replacement step of a run: each cleaned copy that passes the size rule takes its original's
// place and keeps what the file system knows of the original (security, streams, attributes,
// encryption). The original is never deleted before the copy holds its name; a crash in the middle
// of the two renames this takes leaves both files whole, the original under "FILM.tmp.old" and the
// copy under "FILM.tmp".
#pragma once

#include <string>
#include <vector>

#include "run/replacement_rule.h"

namespace run {

// What the file system says about `path`, read from its attributes (no wildcard matching, so a
// "?" in a name matches nothing else). A folder counts as unreadable: it is never a film.
FileState ReadFileState(const std::wstring& path);

enum class MoveResult {
  kMoved,
  kReadOnly,  // the original is read-only: its owner wants it left as it is
  kHeld,      // another program holds the original open without delete sharing
  kDenied,    // the user may not replace it (the film's or its folder's permissions, a share)
  kFailed,    // any other refusal
};

// Puts `copy` in the place of `original` with ReplaceFileW, or with one plain move where the volume
// does not support that (or `original` is gone). A read-only original, or one another program
// holds open without delete sharing, is refused: both files then stay as they were. Every failure
// leaves a film under the original's name; only a failure to put a parked original back leaves it
// under "FILM.tmp.old", with the copy under the film's name.
[[nodiscard]] MoveResult MoveCopyIntoPlace(const std::wstring& copy, const std::wstring& original);

struct ReplacementResult {
  Decision decision = Decision::kNoCopy;
  bool replaced = false;                  // kReplace was decided and the move succeeded
  MoveResult move = MoveResult::kFailed;  // how the move went, when kReplace was decided
};

// The step for one list entry: its cleaned copy (CleanedCopyPath) judged by DecideReplacement,
// then moved into place when it passes.
ReplacementResult ReplaceWithCleanedCopy(const std::wstring& entry);
// The same with the copy where the tool was told to write it (a short name's copy, for a film
// whose long name the batch cannot carry).
ReplacementResult ReplaceWithCleanedCopy(const std::wstring& entry, const std::wstring& copy);

// The step over the list, in order. A failure leaves that entry alone and goes on with the next;
// nothing is reported. An entry listed twice finds no copy the second time.
void ReplaceCleanedCopies(const std::vector<std::wstring>& entries);

}  // namespace run
