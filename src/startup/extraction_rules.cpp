#include "startup/extraction_rules.h"

#include "platform/program_name.h"

namespace startup {
namespace {

// A record equals the file's time only when both exist and match as text, exactly.
bool RecordMatches(ExtractionHost& host, const std::wstring& application, std::wstring_view key,
                   const std::wstring& path) {
  const std::optional<std::wstring> time = host.FileTimeText(path);
  if (!time) return false;
  return host.ReadSetting(application, kDateSection, key, kMissingSetting) == *time;
}

bool RecordTime(ExtractionHost& host, const std::wstring& application, std::wstring_view key,
                const std::wstring& path) {
  const std::optional<std::wstring> time = host.FileTimeText(path);
  if (time) host.SaveSetting(application, kDateSection, key, *time);
  return time.has_value();
}

}  // namespace

std::wstring SettingsApplication(std::wstring_view programFile) {
  return L"QXPW_" + platform::ProgramName(programFile);
}

ExtractReason FindExtractReason(ExtractionHost& host, const std::wstring& targetDir,
                                const std::vector<std::wstring>& names,
                                const std::wstring& programFile) {
  for (const std::wstring& name : names) {
    if (!host.IsFile(targetDir + name)) return ExtractReason::kMissingFile;
  }
  const std::wstring application = SettingsApplication(programFile);
  for (const std::wstring& name : names) {
    if (!RecordMatches(host, application, name, targetDir + name)) {
      return ExtractReason::kChangedFile;
    }
  }
  if (!RecordMatches(host, application, kProgramKey, programFile)) {
    return ExtractReason::kChangedProgram;
  }
  return ExtractReason::kUpToDate;
}

void ExtractPayload(ExtractionHost& host, const std::wstring& targetDir,
                    const std::vector<std::wstring>& names, const std::wstring& programFile) {
  if (!host.DividePayload(programFile, targetDir)) return;
  const std::wstring application = SettingsApplication(programFile);
  bool everyName = true;
  for (const std::wstring& name : names) {
    everyName = RecordTime(host, application, name, targetDir + name) && everyName;
  }
  if (everyName) (void)RecordTime(host, application, kProgramKey, programFile);
}

bool NeedsExtraction(ExtractionHost& host, const std::wstring& targetDir,
                     const std::vector<std::wstring>& names, const std::wstring& programFile) {
  return FindExtractReason(host, targetDir, names, programFile) != ExtractReason::kUpToDate;
}

bool AutoExtract(ExtractionHost& host, const std::wstring& targetDir,
                 const std::vector<std::wstring>& names, const std::wstring& programFile) {
  if (!NeedsExtraction(host, targetDir, names, programFile)) return false;
  ExtractPayload(host, targetDir, names, programFile);
  return true;
}

}  // namespace startup
