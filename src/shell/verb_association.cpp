#include "shell/verb_association.h"

#include "shell/reg_text.h"
#include "shell/verb_command.h"

namespace shell {
namespace {

constexpr std::wstring_view kShell = L"shell";
constexpr std::wstring_view kShellOld = L"shell_Old";
constexpr std::wstring_view kCommand = L"command";
constexpr std::wstring_view kDefaultIcon = L"DefaultIcon";

using reg::JoinRegPath;

// {base}\{branch}\{verb}\command
std::wstring VerbCommandPath(std::wstring_view base, std::wstring_view branch,
                             std::wstring_view verb) {
  return JoinRegPath(JoinRegPath(JoinRegPath(base, branch), verb), kCommand);
}

}  // namespace

std::wstring VerbBaseKey(MergedClasses& classes, std::wstring_view ext) {
  if (ext.empty()) return {};
  const std::wstring dotExt = L"." + std::wstring(ext);
  std::wstring className = classes.Read(dotExt);
  // Without a class the type's own paths would start with a bare backslash; Windows looks for
  // verbs of a type nobody claimed under SystemFileAssociations instead.
  if (className.empty()) return JoinRegPath(L"SystemFileAssociations", dotExt);
  return className;
}

void RegisterShellVerbIn(ClassesRegistry& registry, std::wstring_view exePath,
                         std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                         std::wstring& icon, bool makeDefault, std::wstring_view extraArgs) {
  const ResolvedVerb resolved = ResolveVerbCommandFor(exePath, command, verb, extraArgs);
  verb = resolved.verb;
  if (icon.empty()) icon = resolved.command + L",0";

  MergedClasses classes(registry);
  const std::wstring base = VerbBaseKey(classes, ext);
  if (base.empty()) return;
  const std::wstring shellPath = JoinRegPath(base, kShell);

  if (makeDefault) {
    const std::wstring previousDefault = classes.Read(shellPath);
    if (!previousDefault.empty()) classes.Write(JoinRegPath(base, kShellOld), previousDefault);
    classes.Write(shellPath, verb);
  }

  // A command of this program from another folder or of another version names the program and
  // is simply overwritten; only a foreign command is kept for the removal to put back.
  const std::wstring current = classes.Read(VerbCommandPath(base, kShell, verb));
  if (!current.empty() && current != resolved.command &&
      !ContainsIgnoringCase(current, resolved.programName)) {
    classes.Write(VerbCommandPath(base, kShellOld, verb), current);
  }

  classes.Write(JoinRegPath(shellPath, verb), verb);
  classes.Write(VerbCommandPath(base, kShell, verb), resolved.command);
  if (icon != kKeepIconToken) classes.Write(JoinRegPath(base, kDefaultIcon), icon);
}

void UnregisterShellVerbIn(ClassesRegistry& registry, std::wstring_view exePath,
                           std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                           std::wstring_view extraArgs) {
  verb = ResolveVerbCommandFor(exePath, command, verb, extraArgs).verb;

  MergedClasses classes(registry);
  const std::wstring base = VerbBaseKey(classes, ext);
  if (base.empty()) return;
  if (classes.Read(VerbCommandPath(base, kShell, verb)).empty()) return;

  classes.DeleteEverywhere(JoinRegPath(base, kShell), verb);

  const std::wstring savedCommand = classes.Read(VerbCommandPath(base, kShellOld, verb));
  if (!savedCommand.empty()) classes.Write(VerbCommandPath(base, kShell, verb), savedCommand);
  const std::wstring savedDefault = classes.Read(JoinRegPath(base, kShellOld));
  if (!savedDefault.empty()) classes.Write(JoinRegPath(base, kShell), savedDefault);

  classes.DeleteEverywhere(base, kShellOld);
}

bool IsShellVerbRegisteredIn(ClassesRegistry& registry, std::wstring_view exePath,
                             std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                             std::wstring_view extraArgs) {
  const ResolvedVerb resolved = ResolveVerbCommandFor(exePath, command, verb, extraArgs);
  verb = resolved.verb;

  MergedClasses classes(registry);
  const std::wstring base = VerbBaseKey(classes, ext);
  if (base.empty()) return false;
  return classes.Read(VerbCommandPath(base, kShell, verb)) == resolved.command;
}

}  // namespace shell
