#include "rm/cont.h"

#include "rm/chunk_header.h"

namespace rm {

ContentDescription ParseContentDescription(ByteCursor& chunk) {
  ContentDescription c;
  const ChunkHeader h = ReadChunkHeader(chunk);
  if (!chunk.Ok() || h.version != 0) return c;
  for (std::string* field : {&c.title, &c.author, &c.copyright, &c.comment}) {
    const auto bytes = chunk.Take(chunk.U16());
    field->assign(bytes.begin(), bytes.end());
  }
  return c;
}

}  // namespace rm
