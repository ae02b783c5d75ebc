#include "startup/auto_extract.h"

#include <cstdint>
#include <span>

#include <windows.h>

#include "platform/own_program.h"
#include "platform/temp_folder.h"
#include "startup/divide_file.h"
#include "startup/extraction_rules.h"
#include "startup/file_time_text.h"
#include "startup/settings_store.h"

namespace startup {
namespace {

class SystemHost final : public ExtractionHost {
 public:
  bool IsFile(const std::wstring& path) override { return IsExistingFile(path); }

  std::optional<std::wstring> FileTimeText(const std::wstring& path) override {
    return FileDateTimeText(path);
  }

  std::wstring ReadSetting(const std::wstring& application, std::wstring_view section,
                           std::wstring_view key, std::wstring_view defaultValue) override {
    return GetSetting(application, section, key, defaultValue);
  }

  void SaveSetting(const std::wstring& application, std::wstring_view section,
                   std::wstring_view key, std::wstring_view value) override {
    // A record that could not be written makes the next start extract again, which is the
    // safe side; nothing more to do here.
    (void)startup::SaveSetting(application, section, key, value);
  }

  bool DividePayload(const std::wstring& programFile, const std::wstring& targetDir) override {
    std::wstring writtenList;
    return DivideFile(programFile, targetDir, std::span<const std::uint8_t>(), writtenList) > 0;
  }
};

}  // namespace

std::wstring TempTargetDir() { return platform::TempFolder() + L"\\"; }

bool NeedsExtraction(const std::wstring& targetDir, const std::vector<std::wstring>& names) {
  SystemHost host;
  return NeedsExtraction(host, targetDir, names, platform::OwnProgramFile());
}

bool AutoExtract(const std::wstring& targetDir, const std::vector<std::wstring>& names) {
  return AutoExtract(targetDir, names, platform::OwnProgramFile());
}

bool AutoExtract(const std::wstring& targetDir, const std::vector<std::wstring>& names,
                 const std::wstring& programFile) {
  SystemHost host;
  return AutoExtract(host, targetDir, names, programFile);
}

void ExtractPayload(const std::wstring& targetDir, const std::vector<std::wstring>& names) {
  ExtractPayload(targetDir, names, platform::OwnProgramFile());
}

void ExtractPayload(const std::wstring& targetDir, const std::vector<std::wstring>& names,
                    const std::wstring& programFile) {
  SystemHost host;
  ExtractPayload(host, targetDir, names, programFile);
}

}  // namespace startup
