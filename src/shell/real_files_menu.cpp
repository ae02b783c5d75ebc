#include "shell/real_files_menu.h"

#include <string>

#include "shell/reg_text.h"
#include "shell/verb_association.h"
#include "shell/verb_command.h"

namespace shell {
namespace {

constexpr std::wstring_view kRealFilesExtensions[] = {L"rm", L"rmvb"};

}  // namespace

void SetRealFilesMenuIn(ClassesRegistry& registry, std::wstring_view exePath, bool on) {
  for (std::wstring_view ext : kRealFilesExtensions) {
    std::wstring verb(kRealFilesVerb);
    if (!on) {
      UnregisterShellVerbIn(registry, exePath, ext, verb, kOwnCommandToken, L"");
      continue;
    }
    std::wstring icon(kKeepIconToken);
    RegisterShellVerbIn(registry, exePath, ext, verb, kOwnCommandToken, icon, false, L"");
    // The verb's key was just written in the branch Explorer's merged view reads it from, so the
    // merged write of its value lands beside it.
    MergedClasses classes(registry);
    const std::wstring verbKey =
        reg::JoinRegPath(reg::JoinRegPath(VerbBaseKey(classes, ext), L"shell"), verb);
    classes.Write(verbKey, kMultiSelectModel, kMultiSelectPlayer);
  }
}

bool IsRealFilesMenuOnIn(ClassesRegistry& registry, std::wstring_view exePath) {
  std::wstring verb(kRealFilesVerb);
  return IsShellVerbRegisteredIn(registry, exePath, L"rm", verb, kOwnCommandToken, L"");
}

}  // namespace shell
