// The association's view of the registry: the text values of keys below the file-type classes, in
// the two branches Windows merges into HKEY_CLASSES_ROOT.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace shell {

enum class ClassesBranch {
  kMachine,  // HKEY_CLASSES_ROOT as the program opens it; writes land machine-wide
  kUser,     // HKEY_CURRENT_USER\Software\Classes
};

// One branch's keys, addressed by paths relative to the branch. Implemented over the registry
// layer for the program, and by fakes and refusing wrappers in tests.
class ClassesRegistry {
 public:
  virtual ~ClassesRegistry() = default;
  // The key's value `name` ("" for its default value) as text; "" when the key or the value is
  // missing.
  virtual std::wstring ReadValue(ClassesBranch branch, std::wstring_view path,
                                 std::wstring_view name) = 0;
  // Writes the key's value `name` ("" for its default value) as REG_SZ, creating missing keys;
  // returns the platform's code.
  [[nodiscard]] virtual std::int32_t WriteValue(ClassesBranch branch, std::wstring_view path,
                                                std::wstring_view name, std::wstring_view text) = 0;
  virtual bool KeyExists(ClassesBranch branch, std::wstring_view path) = 0;
  // Deletes `parentPath`\`keyName` with everything below it.
  virtual void DeleteTree(ClassesBranch branch, std::wstring_view parentPath,
                          std::wstring_view keyName) = 0;
};

// The merged view the Explorer sees, kept by hand because Wine's HKEY_CLASSES_ROOT does not merge
// the per-user branch, and because a standard user may not write machine-wide.
class MergedClasses {
 public:
  explicit MergedClasses(ClassesRegistry& registry) : registry_(registry) {}

  // The per-user default value when it is not empty, else the machine-wide one.
  std::wstring Read(std::wstring_view path);

  // Writes where Windows' merged view would: into the per-user branch when the key is already
  // there, else machine-wide, and per-user after all when the machine-wide write is refused with
  // access denied. Returns the branch that was written last. Without `name`, the default value.
  ClassesBranch Write(std::wstring_view path, std::wstring_view text);
  ClassesBranch Write(std::wstring_view path, std::wstring_view name, std::wstring_view text);

  // Deletes `parentPath`\`keyName` in each branch that holds it. A branch without it is left
  // alone: deleting there would create the parent path as empty keys.
  void DeleteEverywhere(std::wstring_view parentPath, std::wstring_view keyName);

 private:
  ClassesRegistry& registry_;
};

}  // namespace shell
