// How the portable rules lower-case text. Windows passes the user locale's own mapping; the
// native tests pass mappings of their own, so the rules never depend on the C library's locale.
#pragma once

#include <string>

namespace files {

// Lower-cases `text` in place, one UTF-16 code unit for one, so lengths and positions survive.
using LowerCase = void (*)(std::wstring& text);

}  // namespace files
