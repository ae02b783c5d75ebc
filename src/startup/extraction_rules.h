// Deciding at start-up whether the payload must be divided out of the program file again, and
// recording what an extraction produced. The rules see the machine only through ExtractionHost,
// so they run unchanged over the real file system and registry and over fakes in the tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace startup {

// The settings section and the key that holds the program file's own time.
inline constexpr std::wstring_view kDateSection = L"Date";
inline constexpr std::wstring_view kProgramKey = L"主程序";
// What a missing setting reads as; it never equals a date-time text.
inline constexpr std::wstring_view kMissingSetting = L"0";

class ExtractionHost {
 public:
  virtual ~ExtractionHost() = default;
  // True only for an existing file; a folder of that name, or a check that fails, is false.
  [[nodiscard]] virtual bool IsFile(const std::wstring& path) = 0;
  // The file's last-modified date and time as text, the same conversion for writing and
  // comparing; nothing when it cannot be read.
  [[nodiscard]] virtual std::optional<std::wstring> FileTimeText(const std::wstring& path) = 0;
  // The per-user settings store: application, section and key; text values.
  [[nodiscard]] virtual std::wstring ReadSetting(const std::wstring& application,
                                                 std::wstring_view section, std::wstring_view key,
                                                 std::wstring_view defaultValue) = 0;
  // Failures are skipped: a record that was not written only causes another extraction later.
  virtual void SaveSetting(const std::wstring& application, std::wstring_view section,
                           std::wstring_view key, std::wstring_view value) = 0;
  // Divides `programFile` into `targetDir` with the default marker. False when it wrote nothing
  // or stopped at a file it could not write (one a running batch holds, a folder in the way).
  [[nodiscard]] virtual bool DividePayload(const std::wstring& programFile,
                                           const std::wstring& targetDir) = 0;
};

enum class ExtractReason { kUpToDate, kMissingFile, kChangedFile, kChangedProgram };

// The settings application of a program file: "QXPW_" + its program name (platform::ProgramName),
// so copies under different file names keep separate records.
[[nodiscard]] std::wstring SettingsApplication(std::wstring_view programFile);

// The first rule that fires, in order: an expected name missing from `targetDir` (a folder of
// that name counts as missing), an expected file whose time differs from its record or cannot be
// read, the program file's time differing from its record or unreadable.
[[nodiscard]] ExtractReason FindExtractReason(ExtractionHost& host, const std::wstring& targetDir,
                                              const std::vector<std::wstring>& names,
                                              const std::wstring& programFile);

// Divides the program file into `targetDir` and, when the division wrote its files, records the
// time of every expected file that is there afterwards and then the program file's time. A
// division that failed records nothing, and a name it did not produce keeps its old record and
// leaves the program's record alone too: recording the time of a tool this start did not write
// (or of the program over it) would make every later start take a stale tool for a fresh one.
// `targetDir` ends in "\".
void ExtractPayload(ExtractionHost& host, const std::wstring& targetDir,
                    const std::vector<std::wstring>& names, const std::wstring& programFile);

// Whether a rule fires: FindExtractReason is not kUpToDate.
[[nodiscard]] bool NeedsExtraction(ExtractionHost& host, const std::wstring& targetDir,
                                   const std::vector<std::wstring>& names,
                                   const std::wstring& programFile);

// Extracts when a rule fires; true when it did, false when everything was up to date (and then
// nothing was divided or written).
bool AutoExtract(ExtractionHost& host, const std::wstring& targetDir,
                 const std::vector<std::wstring>& names, const std::wstring& programFile);

}  // namespace startup
