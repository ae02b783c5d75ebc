// Marker bytes written as text: the program image carries its container marker only in this form,
// so the raw marker never occurs inside the image and cannot cut it in two.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace startup {

// "QX_PW", two zero bytes, then 03 05 07 06 09 03 02.
inline constexpr std::string_view kDefaultMarkerText = "51 58 5F 50 57 0 0 3 5 7 6 9 3 2";

// One byte per piece between single blanks, in order; every piece must be a hexadecimal number
// from 0 to FF. A bad piece (empty, not hexadecimal, too large) gives no bytes at all. An empty
// text is an empty list.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> HexTextToBytes(std::string_view text);

// The marker that a division uses: `marker` itself when it holds at least two bytes, otherwise
// the default marker made from kDefaultMarkerText.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ChooseMarker(
    std::span<const std::uint8_t> marker);

}  // namespace startup
