// The portable rules of one-shot gathering: Explorer starts one Quellin per selected film within
// a few milliseconds, and the first of them gathers the films of the others into one run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace run {

// When the gathering closes, in milliseconds of a monotonic clock: `kOpenMs` after it opened or
// after the latest start that joined, whichever is later, so it stays open while a selection's
// starts keep coming. Starts known to be on their way hold it longer, but never beyond `kLongestMs`
// after it opened or after the latest start that joined: the bound follows the arrivals, so a
// selection whose starts arrive over more than `kLongestMs` still makes one run, and a run never
// waits long for starts that will not come. (On Windows Explorer's starts come within
// milliseconds; under Wine on a busy machine 100 starts were seen to arrive over 3.8 s, and fifteen
// over more than two.)
class GatheringClock {
 public:
  static constexpr std::uint64_t kOpenMs = 400;
  static constexpr std::uint64_t kLongestMs = 4000;

  explicit GatheringClock(std::uint64_t openedAtMs);
  void Arrived(std::uint64_t nowMs);
  // Keeps it open until `untilMs` at least (never beyond the bound): a start of the selection is
  // known to be on its way.
  void HoldUntil(std::uint64_t untilMs);
  [[nodiscard]] std::uint64_t ClosesAtMs() const { return closesAt_; }
  [[nodiscard]] bool IsClosed(std::uint64_t nowMs) const { return nowMs >= closesAt_; }

 private:
  std::uint64_t latest_;
  std::uint64_t closesAt_;
};

// What a joining start sends: its films, each followed by a NUL, so empty entries (two blanks on a
// command line give one) travel too and an empty text is no films.
[[nodiscard]] std::wstring EncodeJoin(const std::vector<std::wstring>& films);
// The films again; nothing when the text does not end with a NUL (a foreign or cut message).
[[nodiscard]] std::optional<std::vector<std::wstring>> DecodeJoin(std::wstring_view text);

}  // namespace run
