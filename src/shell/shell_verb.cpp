#include "shell/shell_verb.h"

#include <windows.h>

#include "shell/reg_classes.h"
#include "shell/verb_association.h"
#include "shell/verb_command.h"

namespace shell {
namespace {

constexpr std::wstring_view kRealFilesExtensions[] = {L"rm", L"rmvb"};

// The running executable's full path as the platform reports it.
std::wstring OwnExePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    // The path was cut to fit: try again with room to spare (long paths reach 32767 characters).
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace

void ResolveVerbCommand(std::wstring& command, std::wstring& programName, std::wstring& verb,
                        std::wstring_view extraArgs) {
  ResolvedVerb resolved = ResolveVerbCommandFor(OwnExePath(), command, verb, extraArgs);
  command = std::move(resolved.command);
  programName = std::move(resolved.programName);
  verb = std::move(resolved.verb);
}

void RegisterShellVerb(std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                       std::wstring& icon, bool makeDefault, std::wstring_view extraArgs) {
  RegClasses registry;
  RegisterShellVerbIn(registry, OwnExePath(), ext, verb, command, icon, makeDefault, extraArgs);
}

void UnregisterShellVerb(std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                         std::wstring_view extraArgs) {
  RegClasses registry;
  UnregisterShellVerbIn(registry, OwnExePath(), ext, verb, command, extraArgs);
}

bool IsShellVerbRegistered(std::wstring_view ext, std::wstring& verb, std::wstring_view command,
                           std::wstring_view extraArgs) {
  RegClasses registry;
  return IsShellVerbRegisteredIn(registry, OwnExePath(), ext, verb, command, extraArgs);
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
