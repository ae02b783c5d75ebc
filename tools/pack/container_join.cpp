#include "pack/container_join.h"

#include <algorithm>
#include <functional>

namespace pack {

std::vector<std::uint8_t> Trailer(std::span<const std::uint8_t> marker, std::string_view name) {
  std::vector<std::uint8_t> trailer(marker.begin(), marker.end());
  trailer.push_back(static_cast<std::uint8_t>(name.size() & 0xFF));
  trailer.push_back(static_cast<std::uint8_t>((name.size() >> 8) & 0xFF));
  trailer.insert(trailer.end(), name.begin(), name.end());
  return trailer;
}

std::string NameProblem(std::string_view name) {
  if (name.empty()) return "the name is empty";
  if (name.size() > kMaxNameLength) return "the name is longer than 32767 bytes";
  const bool printable =
      std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
  if (!printable) return "the name holds characters outside printable ASCII";
  return {};
}

std::string JoinContainer(std::span<const Part> parts, std::span<const std::uint8_t> marker,
                          std::vector<std::uint8_t>& out) {
  if (marker.empty()) return "the marker is empty";
  std::vector<std::uint8_t> joined;
  const std::boyer_moore_horspool_searcher searcher(marker.begin(), marker.end());
  for (const Part& part : parts) {
    if (part.name.size() > kMaxNameLength) return "the name \"" + part.name + "\" is too long";
    const std::size_t contentAt = joined.size();
    joined.insert(joined.end(), part.content.begin(), part.content.end());
    const std::size_t trailerAt = joined.size();
    const std::vector<std::uint8_t> trailer = Trailer(marker, part.name);
    joined.insert(joined.end(), trailer.begin(), trailer.end());
    // A divider searches from the start of each content; the first marker it meets must be this
    // part's own trailer.
    const auto begin = joined.begin() + static_cast<std::ptrdiff_t>(contentAt);
    const auto found = std::search(begin, joined.end(), searcher);
    if (static_cast<std::size_t>(found - joined.begin()) != trailerAt) {
      return "the content for \"" + part.name + "\" already contains the container marker";
    }
  }
  out.insert(out.end(), joined.begin(), joined.end());
  return {};
}

}  // namespace pack
