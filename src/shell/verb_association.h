// The Explorer right-click verb of a file type, over any ClassesRegistry and for an executable
// given by path. The Win32 entry points (shell_verb.h) bind these to the real registry and to the
// running program; tests bind them to fakes.
#pragma once

#include <string>
#include <string_view>

#include "shell/classes_registry.h"

namespace shell {

// The key below which the verbs of `.ext` live: the type's class name, or, when no program has
// given the type a class, SystemFileAssociations\.ext. "" for an empty `ext`.
std::wstring VerbBaseKey(MergedClasses& classes, std::wstring_view ext);

// Writes `verb` with the resolved command for `.ext`. A foreign command already under the verb is
// kept in shell_Old for the removal; `makeDefault` also makes the verb the type's default action,
// keeping the previous default in shell_Old. `icon` "" stands for the command line with ",0";
// "UseOld" leaves DefaultIcon alone. An empty `verb` or `icon` is replaced and handed back.
void RegisterShellVerbIn(ClassesRegistry& registry, std::wstring_view exePath,
                         std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                         std::wstring& icon, bool makeDefault, std::wstring_view extraArgs);

// Removes `verb` from `.ext` in every branch that holds it, puts back what shell_Old saved and
// deletes shell_Old. Does nothing when the verb holds no command.
void UnregisterShellVerbIn(ClassesRegistry& registry, std::wstring_view exePath,
                           std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                           std::wstring_view extraArgs);

// Whether the verb's command is exactly the resolved command line (case-sensitive).
bool IsShellVerbRegisteredIn(ClassesRegistry& registry, std::wstring_view exePath,
                             std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                             std::wstring_view extraArgs);

}  // namespace shell
