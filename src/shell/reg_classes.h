// The classes registry as the program really has it: HKEY_CLASSES_ROOT for the machine-wide
// branch and HKEY_CURRENT_USER\Software\Classes for the per-user one, through the registry layer.
#pragma once

#include "shell/classes_registry.h"

namespace shell {

class RegClasses final : public ClassesRegistry {
 public:
  std::wstring ReadValue(ClassesBranch branch, std::wstring_view path,
                         std::wstring_view name) override;
  [[nodiscard]] std::int32_t WriteValue(ClassesBranch branch, std::wstring_view path,
                                        std::wstring_view name, std::wstring_view text) override;
  bool KeyExists(ClassesBranch branch, std::wstring_view path) override;
  void DeleteTree(ClassesBranch branch, std::wstring_view parentPath,
                  std::wstring_view keyName) override;
};

}  // namespace shell
