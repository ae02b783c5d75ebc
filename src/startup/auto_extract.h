// Bringing the payload of the program's own file into a folder at start-up, when it is missing
// or stale there. Records of what was extracted live in the settings store under the
// application "QXPW_" + program name, section "Date".
#pragma once

#include <string>
#include <vector>

namespace startup {

// The folder start-up extracts into: the TMP environment variable, read afresh, followed by "\";
// "\" alone (the root of the current drive) when TMP is not set.
[[nodiscard]] std::wstring TempTargetDir();

// Whether AutoExtract would extract now. It only looks: several starts may ask at once, and the
// one that then extracts asks again under the run lock.
[[nodiscard]] bool NeedsExtraction(const std::wstring& targetDir,
                                   const std::vector<std::wstring>& names);

// Extracts when an expected name is missing from `targetDir` (a folder of that name counts as
// missing), an expected file's time differs from its record, or the program file's time differs
// from its record. True when it extracted, false when everything was up to date; then nothing is
// divided and nothing written. Failures are skipped. `targetDir` must end in "\".
bool AutoExtract(const std::wstring& targetDir, const std::vector<std::wstring>& names);

// The same for a given program file (the container), whose name also selects the records.
bool AutoExtract(const std::wstring& targetDir, const std::vector<std::wstring>& names,
                 const std::wstring& programFile);

// Divides the program file into `targetDir` and records the times of the expected files it
// produced and of the program file.
void ExtractPayload(const std::wstring& targetDir, const std::vector<std::wstring>& names);
void ExtractPayload(const std::wstring& targetDir, const std::vector<std::wstring>& names,
                    const std::wstring& programFile);

}  // namespace startup
