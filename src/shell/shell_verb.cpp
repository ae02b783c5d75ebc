#include "shell/shell_verb.h"

#include <windows.h>

#include "platform/own_program.h"
#include "shell/real_files_menu.h"
#include "shell/reg_classes.h"
#include "shell/verb_association.h"
#include "shell/verb_command.h"

namespace shell {

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
  RegClasses registry;
  SetRealFilesMenuIn(registry, platform::OwnProgramFile(), on);
}

bool IsRealFilesMenuOn() {
  RegClasses registry;
  return IsRealFilesMenuOnIn(registry, platform::OwnProgramFile());
}

}  // namespace shell
