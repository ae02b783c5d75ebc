// Reading a program file's version record (its VERSIONINFO resource).
#pragma once

#include <optional>
#include <string>

namespace platform {

struct FileVersion {
  int major = 0;
  int minor = 0;
  int revision = 0;  // the third of the four numbers; the fourth (the build) is not shown
};

// Each part is empty when the file has no version record or the record lacks it, so a caller
// can use whatever is there.
struct VersionRecord {
  std::optional<std::wstring> productName;
  std::optional<std::wstring> fileDescription;
  std::optional<FileVersion> version;
};

// The record of `file`, texts taken from its first language block.
[[nodiscard]] VersionRecord ReadVersionRecord(const std::wstring& file);

}  // namespace platform
