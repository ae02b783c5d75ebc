#include "run/replacement_rule.h"

namespace run {

Decision DecideReplacement(const FileState& original, const FileState& copy) {
  using Kind = FileState::Kind;
  if (copy.kind == Kind::kMissing) return Decision::kNoCopy;
  if (copy.kind == Kind::kUnreadable) return Decision::kCopyUnreadable;
  if (original.kind == Kind::kMissing) return Decision::kReplace;
  if (original.kind == Kind::kUnreadable) return Decision::kOriginalUnreadable;
  // Unsigned sizes: the loss only exists when the copy is the smaller one.
  const bool shrankTooMuch =
      original.bytes > copy.bytes && original.bytes - copy.bytes >= kSizeLossLimit;
  return shrankTooMuch ? Decision::kCopyTooSmall : Decision::kReplace;
}

}  // namespace run
