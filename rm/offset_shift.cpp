#include "rm/offset_shift.h"

#include <algorithm>

namespace rm {

bool OffsetShifts::Note(std::uint64_t oldOffset, std::uint64_t newOffset, std::uint64_t oldOrdinal,
                        std::uint64_t newOrdinal) {
  const Shift s{oldOffset, static_cast<std::int64_t>(newOffset - oldOffset),
                static_cast<std::int64_t>(newOrdinal - oldOrdinal)};
  if (!entries_.empty() && entries_.back().bytes == s.bytes &&
      entries_.back().ordinals == s.ordinals) {
    return true;
  }
  if (entries_.size() == kMaxEntries) return false;
  entries_.push_back(s);
  return true;
}

bool OffsetShifts::Find(std::uint64_t oldOffset, Shift& shift) const {
  auto it = std::upper_bound(entries_.begin(), entries_.end(), oldOffset,
                             [](std::uint64_t v, const Shift& s) { return v < s.oldOffset; });
  if (it == entries_.begin()) return false;
  shift = *(it - 1);
  return true;
}

}  // namespace rm
