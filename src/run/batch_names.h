// The name a film goes by in Go.bat. cmd reads a batch file in the console's (OEM) code page, so
// a name with characters that code page lacks ("é" on a Western system whose OEM code page is
// 850, Korean on a Chinese one) would reach the tool mangled and the film would be skipped
// without a word. Such a film goes by its short (8.3) name where Windows has one, and is left out
// of the batch, and reported, where it has none.
#pragma once

#include <optional>
#include <string>

namespace run {

// The code page Go.bat is written in: the one cmd reads it in.
[[nodiscard]] unsigned BatchCodePage();

// `entry` itself when `codePage` holds every character of it, else its short name when that
// exists and the code page holds it; nothing when the film cannot go into the batch.
[[nodiscard]] std::optional<std::wstring> BatchName(const std::wstring& entry, unsigned codePage);

}  // namespace run
