// Text crossing between the program's Unicode strings and the system's ANSI code page (CP_ACP:
// 936 on a Chinese system): batch files for cmd, names inside the payload container, the narrow
// registry and dialog functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Unicode to the ANSI code page. Characters the code page lacks become its default character
// ("?"); NUL characters inside the text are kept. An empty result for a non-empty text means the
// conversion failed.
std::string ToAnsi(std::wstring_view text);

// Unicode to `codePage` when every character has its own code there: nothing when one would
// become the default character or a look-alike ("é" as "e"), so a name is never passed on
// altered. An empty text gives an empty result.
std::optional<std::string> ToCodePageExactly(std::wstring_view text, unsigned codePage);

// The ANSI code page to Unicode. Byte sequences the code page does not define become U+FFFD or
// the code page's own replacement; NUL bytes inside the text are kept.
std::wstring FromAnsi(std::string_view text);

// The same from UTF-8 (the status file, a UTF-8 report).
std::wstring FromUtf8(std::string_view text);

// Unicode to UTF-8; an unpaired surrogate gives an empty result.
std::string ToUtf8(std::wstring_view text);

}  // namespace platform
