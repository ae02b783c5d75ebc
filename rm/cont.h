// CONT: title, author, copyright and comment of the clip. The tool copies the chunk unchanged; it
// is read only to make sure its strings fit inside it, since a damaged CONT is a sign of a
// damaged file.
#pragma once

#include <string>

#include "rm/byte_cursor.h"

namespace rm {

struct ContentDescription {
  // Bytes in the producer's code page (no encoding is declared).
  std::string title, author, copyright, comment;
};

// Parses the whole chunk (header included). Chunks of an unknown object version are opaque and
// give empty strings.
ContentDescription ParseContentDescription(ByteCursor& chunk);

}  // namespace rm
