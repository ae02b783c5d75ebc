// The Explorer right-click entry of a file type, for the running program, in the real registry.
// Entries are written below HKEY_CLASSES_ROOT; where Windows refuses that write to a standard
// user, they go to HKEY_CURRENT_USER\Software\Classes instead, and reads look there first.
// Nothing here reports failure or shows a message.
#pragma once

#include <string>
#include <string_view>

#include "shell/real_files_menu.h"

namespace shell {

// Expands the token "App.FullExeCMD" in `command` to this program's command line
// ("<folder>\<name>.exe" <extraArgs> "%1"), appends the quoted "%1" to a command without it, sets
// `programName` and replaces an empty `verb` by the default caption "用&<programName>打开".
void ResolveVerbCommand(std::wstring& command, std::wstring& programName, std::wstring& verb,
                        std::wstring_view extraArgs);

// Adds `verb` (key name and menu caption) with the resolved command to the type `.ext`. See
// verb_association.h for shell_Old, `makeDefault` and the "UseOld" icon.
void RegisterShellVerb(std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                       std::wstring& icon, bool makeDefault, std::wstring_view extraArgs);

// Removes `verb` from `.ext` and puts back what a registration saved.
void UnregisterShellVerb(std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                         std::wstring_view extraArgs);

// Whether `verb` of `.ext` runs exactly the resolved command line.
[[nodiscard]] bool IsShellVerbRegistered(std::wstring_view ext, std::wstring& verb,
                                         std::wstring_view command, std::wstring_view extraArgs);

// The main window's entry kRealFilesVerb on .rm and .rmvb for this program (real_files_menu.h):
// registers it for "rm" and then "rmvb" (on), or removes it from both (off).
void SetRealFilesMenu(bool on);

// Whether the "rm" entry holds exactly this program's current command.
[[nodiscard]] bool IsRealFilesMenuOn();

}  // namespace shell
