// Dividing an appended-payload container file into the files it carries.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace startup {

// Reads `sourcePath` in 600-byte blocks and writes the content in front of every trailer as the
// file the trailer names: relative names below `targetDir` (a "\" is added when it lacks one),
// drive-letter and network names as they stand; missing folders are made first. Each path
// written is appended to `writtenList` followed by CR LF. A `marker` of fewer than two bytes
// means the default marker. Returns the number of files written; 0 for an empty source path or
// target folder, an unreadable source, an unwritable target or a name length with its high byte
// at 0x80 or more, in which case the files written before stay as they are. Shows the busy mouse
// pointer meanwhile and always restores the default one.
int DivideFile(const std::wstring& sourcePath, const std::wstring& targetDir,
               std::span<const std::uint8_t> marker, std::wstring& writtenList);

// Afterwards the file at `path` holds exactly `bytes`: created, or replaced whole (a longer old
// file is cut). False when it cannot be written.
[[nodiscard]] bool WriteBytesToFile(const std::wstring& path, std::span<const std::uint8_t> bytes);

}  // namespace startup
