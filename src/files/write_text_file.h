// Writing a text file in the system's ANSI code page, the way cmd reads batch files.
#pragma once

#include <string>

namespace files {

// Writes `text` to `fileName` converted to the ANSI code page (CP936 bytes on a Chinese system),
// with no byte-order mark and nothing added: callers end their lines themselves. With `append`
// false the file is created or emptied first; with `append` true the text goes after the existing
// content (the file is created when missing). False when the file cannot be opened or written in
// full, or the text cannot be converted; the caller's failure rule then applies.
[[nodiscard]] bool WriteTextFile(const std::wstring& fileName, const std::wstring& text,
                                 bool append);

// The same for bytes already in their code page (the run's batch, which cmd reads in the OEM
// code page).
[[nodiscard]] bool WriteBytesFile(const std::wstring& fileName, const std::string& bytes,
                                  bool append);

}  // namespace files
