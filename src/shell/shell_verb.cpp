#include "shell/shell_verb.h"

#include <windows.h>

#include "platform/own_program.h"
#include "shell/reg_classes.h"
#include "shell/verb_association.h"
#include "shell/verb_command.h"

namespace shell {
namespace {

constexpr std::wstring_view kRealFilesExtensions[] = {L"rm", L"rmvb"};

}  // namespace

void ResolveVerbCommand(std::wstring& command, std::wstring& programName, std::wstring& verb,
                        std::wstring_view extraArgs) {
  ResolvedVerb resolved =
      ResolveVerbCommandFor(platform::OwnProgramFile(), command, verb, extraArgs);
  command = std::move(resolved.command);
  programName = std::move(resolved.programName);
  verb = std::move(resolved.verb);
}

void RegisterShellVerb(std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                       std::wstring& icon, bool makeDefault, std::wstring_view extraArgs) {
  RegClasses registry;
  RegisterShellVerbIn(registry, platform::OwnProgramFile(), ext, verb, command, icon, makeDefault,
                      extraArgs);
}

void UnregisterShellVerb(std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                         std::wstring_view extraArgs) {
  RegClasses registry;
  UnregisterShellVerbIn(registry, platform::OwnProgramFile(), ext, verb, command, extraArgs);
}

bool IsShellVerbRegistered(std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                           std::wstring_view extraArgs) {
  RegClasses registry;
  return IsShellVerbRegisteredIn(registry, platform::OwnProgramFile(), ext, verb, command,
                                 extraArgs);
}

void SetRealFilesMenu(bool on) {
  for (std::wstring_view ext : kRealFilesExtensions) {
    std::wstring verb(kRealFilesVerb);
    if (on) {
      std::wstring icon(kKeepIconToken);
      RegisterShellVerb(ext, verb, kOwnCommandToken, icon, false, L"");
    } else {
      UnregisterShellVerb(ext, verb, kOwnCommandToken, L"");
    }
  }
}

bool IsRealFilesMenuOn() {
  std::wstring verb(kRealFilesVerb);
  return IsShellVerbRegistered(L"rm", verb, kOwnCommandToken, L"");
}

}  // namespace shell
