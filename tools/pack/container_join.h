// The joining side of the appended-payload container: program image, trailer, payload, trailer.
// Only the build uses it; the program itself carries just the dividing side.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pack {

// Longest name a trailer can carry: the high byte of its length must stay below 0x80.
inline constexpr std::size_t kMaxNameLength = 0x7FFF;

struct Part {
  std::span<const std::uint8_t> content;
  std::string name;  // bytes as they go into the trailer (the ANSI code page)
};

// Marker, little-endian 2-byte name length, name.
[[nodiscard]] std::vector<std::uint8_t> Trailer(std::span<const std::uint8_t> marker,
                                                std::string_view name);

// Why a name cannot be written by the packer: empty, longer than kMaxNameLength, or holding a
// character outside printable ASCII (the build cannot know the users' ANSI code page, and ASCII
// reads the same in all of them). Empty when the name is fine.
[[nodiscard]] std::string NameProblem(std::string_view name);

// Appends every part and its trailer to `out`. Refuses, with the reason in the result, a part
// whose content holds the marker, or whose content runs into its own trailer so that a marker
// would be found earlier than the one written (either would cut the entry in two when divided).
// `out` is left unchanged on refusal; an empty result means success.
[[nodiscard]] std::string JoinContainer(std::span<const Part> parts,
                                        std::span<const std::uint8_t> marker,
                                        std::vector<std::uint8_t>& out);

}  // namespace pack
