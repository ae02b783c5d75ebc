// The main window's right-click entry on .rm and .rmvb over any ClassesRegistry and for an
// executable given by path; shell_verb.h binds it to the real registry and the running program.
#pragma once

#include <string_view>

#include "shell/classes_registry.h"

namespace shell {

// The entry's key name and caption.
inline constexpr std::wstring_view kRealFilesVerb = L"去除R&eal事件";

// Without this value on the verb's key Explorer offers a command-line verb only while 15 or fewer
// files are selected; with "Player" it offers it for up to 100, still starting one process per
// file (which the program gathers into one run).
inline constexpr std::wstring_view kMultiSelectModel = L"MultiSelectModel";
inline constexpr std::wstring_view kMultiSelectPlayer = L"Player";

// Registers the entry for "rm" and then "rmvb" with `exePath` on the clicked file, the type's icon
// left alone and the default action unchanged, each with MultiSelectModel=Player on the verb's key
// wherever the verb went (machine-wide, or the per-user fallback); or removes both entries, the
// value going with the verb's key (off).
void SetRealFilesMenuIn(ClassesRegistry& registry, std::wstring_view exePath, bool on);

// Whether the "rm" entry holds exactly `exePath`'s current command. The MultiSelectModel value
// does not count: an entry written before it existed is still this program's.
[[nodiscard]] bool IsRealFilesMenuOnIn(ClassesRegistry& registry, std::wstring_view exePath);

}  // namespace shell
