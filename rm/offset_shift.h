// How far kept packets moved. Between two removed or inserted packets every kept packet moves by
// the same number of bytes and ordinals, so one entry per change is enough to remap any index
// record, however many packets the file holds.
#pragma once

#include <cstdint>
#include <vector>

namespace rm {

struct Shift {
  std::uint64_t oldOffset = 0;  // first kept packet to which this shift applies
  std::int64_t bytes = 0;
  std::int64_t ordinals = 0;
};

class OffsetShifts {
 public:
  // Entries beyond this mean absurdly many events; the rewrite is refused rather than grow.
  static constexpr std::size_t kMaxEntries = std::size_t{1} << 18;

  // Notes where a kept packet moved. False once the table is full.
  [[nodiscard]] bool Note(std::uint64_t oldOffset, std::uint64_t newOffset,
                          std::uint64_t oldOrdinal, std::uint64_t newOrdinal);
  // The shift of the kept packet at `oldOffset`; false if no kept packet lies at or before it.
  [[nodiscard]] bool Find(std::uint64_t oldOffset, Shift& shift) const;

 private:
  std::vector<Shift> entries_;
};

}  // namespace rm
