#include "shell/reg_classes.h"

#include <windows.h>

#include "shell/reg.h"

namespace shell {
namespace {

constexpr std::wstring_view kUserClasses = L"Software\\Classes";

HKEY RootOf(ClassesBranch branch) {
  return branch == ClassesBranch::kMachine ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
}

// The same relative path in either branch.
std::wstring PathIn(ClassesBranch branch, std::wstring_view path) {
  if (branch == ClassesBranch::kMachine) return std::wstring(path);
  return reg::JoinRegPath(kUserClasses, path);
}

}  // namespace

std::wstring RegClasses::ReadValue(ClassesBranch branch, std::wstring_view path,
                                   std::wstring_view name) {
  DWORD type = REG_SZ;
  return reg::RegValueText(reg::ReadRegValue(RootOf(branch), PathIn(branch, path), name, type));
}

std::int32_t RegClasses::WriteValue(ClassesBranch branch, std::wstring_view path,
                                    std::wstring_view name, std::wstring_view text) {
  reg::WriteRegValue(RootOf(branch), PathIn(branch, path), name, text, REG_SZ);
  return reg::RegLastError();
}

bool RegClasses::KeyExists(ClassesBranch branch, std::wstring_view path) {
  return reg::RegKeyExists(RootOf(branch), PathIn(branch, path));
}

void RegClasses::DeleteTree(ClassesBranch branch, std::wstring_view parentPath,
                            std::wstring_view keyName) {
  reg::DeleteRegKeyTree(RootOf(branch), PathIn(branch, parentPath), keyName);
}

}  // namespace shell
