#include "shell/classes_registry.h"

#include "shell/reg_text.h"

namespace shell {

std::wstring MergedClasses::Read(std::wstring_view path) {
  std::wstring text = registry_.ReadDefault(ClassesBranch::kUser, path);
  if (!text.empty()) return text;
  return registry_.ReadDefault(ClassesBranch::kMachine, path);
}

ClassesBranch MergedClasses::Write(std::wstring_view path, std::wstring_view text) {
  if (registry_.KeyExists(ClassesBranch::kUser, path)) {
    (void)registry_.WriteDefault(ClassesBranch::kUser, path, text);
    return ClassesBranch::kUser;
  }
  // Any other failure leaves the registry as far as the writes got, as before; only a refusal
  // for lack of rights has a place to go instead.
  if (registry_.WriteDefault(ClassesBranch::kMachine, path, text) != reg::kStatusAccessDenied) {
    return ClassesBranch::kMachine;
  }
  (void)registry_.WriteDefault(ClassesBranch::kUser, path, text);
  return ClassesBranch::kUser;
}

void MergedClasses::DeleteEverywhere(std::wstring_view parentPath, std::wstring_view keyName) {
  const std::wstring path = reg::JoinRegPath(parentPath, keyName);
  for (ClassesBranch branch : {ClassesBranch::kUser, ClassesBranch::kMachine}) {
    if (registry_.KeyExists(branch, path)) registry_.DeleteTree(branch, parentPath, keyName);
  }
}

}  // namespace shell
