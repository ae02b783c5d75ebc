// The header section: .RMF and every chunk up to the first DATA (PROP, CONT, MDPRs and whatever
// else a producer wrote). PROP and the MDPRs are parsed; everything else is only located, to be
// copied unchanged.
#pragma once

#include <cstdint>
#include <vector>

#include "rm/error.h"
#include "rm/mdpr.h"
#include "rm/prop.h"
#include "rm/rmf_header.h"
#include "rm/source.h"

namespace rm {

// Limits that no real file comes near; beyond them a file is refused rather than loaded.
inline constexpr std::uint32_t kMaxHeaderChunkSize = 4u << 20;
inline constexpr std::size_t kMaxHeaderChunks = 4096;
inline constexpr std::size_t kMaxStreams = 1024;

struct HeaderChunk {
  std::uint32_t id = 0;
  std::uint64_t offset = 0;
  std::uint32_t size = 0;
  int mediaIndex = -1;  // for MDPR: its place in Headers::media
};

struct Headers {
  std::uint64_t fileSize = 0;
  RmfHeader rmf;
  Properties prop;
  std::vector<HeaderChunk> chunks;     // after .RMF, in file order, up to the first DATA
  std::vector<MediaProperties> media;  // the MDPRs, in file order
  std::uint64_t firstDataOffset = 0;

  // The MDPR of stream `number`, or null.
  const MediaProperties* FindStream(std::uint16_t number) const;
  // One more than the highest stream number: the size of tables indexed by stream number.
  std::size_t StreamTableSize() const;
};

[[nodiscard]] bool ReadHeaders(Source& source, Headers& headers, Error& error);

}  // namespace rm
