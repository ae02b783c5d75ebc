#include "shell/classes_registry.h"

#include "shell/reg_text.h"

namespace shell {

std::wstring MergedClasses::Read(std::wstring_view path) {
  std::wstring text = registry_.ReadValue(ClassesBranch::kUser, path, L"");
  if (!text.empty()) return text;
  return registry_.ReadValue(ClassesBranch::kMachine, path, L"");
}

ClassesBranch MergedClasses::Write(std::wstring_view path, std::wstring_view text) {
  return Write(path, L"", text);
}

ClassesBranch MergedClasses::Write(std::wstring_view path, std::wstring_view name,
                                   std::wstring_view text) {
  if (registry_.KeyExists(ClassesBranch::kUser, path)) {
    (void)registry_.WriteValue(ClassesBranch::kUser, path, name, text);
    return ClassesBranch::kUser;
  }
  // Any other failure leaves the registry as far as the writes got, as before; only a refusal
  // for lack of rights has a place to go instead.
  if (registry_.WriteValue(ClassesBranch::kMachine, path, name, text) != reg::kStatusAccessDenied) {
    return ClassesBranch::kMachine;
  }
  (void)registry_.WriteValue(ClassesBranch::kUser, path, name, text);
  return ClassesBranch::kUser;
}

void MergedClasses::DeleteEverywhere(std::wstring_view parentPath, std::wstring_view keyName) {
  const std::wstring path = reg::JoinRegPath(parentPath, keyName);
  for (ClassesBranch branch : {ClassesBranch::kUser, ClassesBranch::kMachine}) {
    if (registry_.KeyExists(branch, path)) registry_.DeleteTree(branch, parentPath, keyName);
  }
}

}  // namespace shell
