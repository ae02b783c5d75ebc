#include "startup/hex_text.h"

namespace startup {
namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::uint8_t> HexPieceToByte(std::string_view piece) {
  if (piece.empty()) return std::nullopt;
  unsigned value = 0;
  for (char c : piece) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(digit);
    // Checked per digit, so a long piece can never overflow before it is refused.
    if (value > 0xFF) return std::nullopt;
  }
  return static_cast<std::uint8_t>(value);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> HexTextToBytes(std::string_view text) {
  std::vector<std::uint8_t> bytes;
  if (text.empty()) return bytes;
  for (;;) {
    const std::size_t blank = text.find(' ');
    const auto byte = HexPieceToByte(text.substr(0, blank));
    if (!byte) return std::nullopt;
    bytes.push_back(*byte);
    if (blank == std::string_view::npos) return bytes;
    text.remove_prefix(blank + 1);
  }
}

std::optional<std::vector<std::uint8_t>> ChooseMarker(std::span<const std::uint8_t> marker) {
  if (marker.size() >= 2) return std::vector<std::uint8_t>(marker.begin(), marker.end());
  return HexTextToBytes(kDefaultMarkerText);
}

}  // namespace startup
