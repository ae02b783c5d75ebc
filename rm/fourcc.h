// Chunk identifiers, as the big-endian u32 that opens every chunk.
#pragma once

#include <cstdint>
#include <string>

namespace rm {

constexpr std::uint32_t MakeFourCc(char a, char b, char c, char d) {
  return (std::uint32_t(std::uint8_t(a)) << 24) | (std::uint32_t(std::uint8_t(b)) << 16) |
         (std::uint32_t(std::uint8_t(c)) << 8) | std::uint32_t(std::uint8_t(d));
}

inline constexpr std::uint32_t kRmfId = MakeFourCc('.', 'R', 'M', 'F');
inline constexpr std::uint32_t kPropId = MakeFourCc('P', 'R', 'O', 'P');
inline constexpr std::uint32_t kMdprId = MakeFourCc('M', 'D', 'P', 'R');
inline constexpr std::uint32_t kContId = MakeFourCc('C', 'O', 'N', 'T');
inline constexpr std::uint32_t kDataId = MakeFourCc('D', 'A', 'T', 'A');
inline constexpr std::uint32_t kIndxId = MakeFourCc('I', 'N', 'D', 'X');

// Printable form for messages; bytes outside ASCII show as '?'.
inline std::string FourCcText(std::uint32_t id) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((id >> shift) & 0xFF);
    text += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  return text;
}

}  // namespace rm
