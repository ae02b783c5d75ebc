// An in-memory classes registry with the behaviour the association relies on: key names compare
// without regard to ASCII case, a write creates the missing keys along its path, deleting a tree
// creates a missing parent path (as the registry layer does), and the machine-wide branch can
// refuse writes and deletes the way Windows refuses a standard user.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "shell/classes_registry.h"
#include "shell/reg_text.h"

namespace shell::testing {

class FakeClasses final : public ClassesRegistry {
 public:
  // Nonzero: the code every machine-wide write and delete is refused with.
  std::int32_t machineRefusal = reg::kStatusOk;
  int machineWrites = 0;
  int userWrites = 0;

  std::wstring ReadValue(ClassesBranch branch, std::wstring_view path,
                         std::wstring_view name) override {
    return NamedValue(branch, path, name).value_or(L"");
  }

  std::int32_t WriteValue(ClassesBranch branch, std::wstring_view path, std::wstring_view name,
                          std::wstring_view text) override {
    if (branch == ClassesBranch::kMachine && machineRefusal != reg::kStatusOk) {
      return machineRefusal;
    }
    ++(branch == ClassesBranch::kMachine ? machineWrites : userWrites);
    CreatePath(branch, path);
    Key& key = Keys(branch)[Fold(path)];
    if (name.empty()) {
      key.value = std::wstring(text);
    } else {
      key.named[Fold(name)] = std::wstring(text);
    }
    return reg::kStatusOk;
  }

  bool KeyExists(ClassesBranch branch, std::wstring_view path) override {
    return Keys(branch).contains(Fold(path));
  }

  void DeleteTree(ClassesBranch branch, std::wstring_view parentPath,
                  std::wstring_view keyName) override {
    if (branch == ClassesBranch::kMachine && machineRefusal != reg::kStatusOk) return;
    CreatePath(branch, parentPath);
    const std::wstring path = Fold(reg::JoinRegPath(parentPath, keyName));
    auto& keys = Keys(branch);
    for (auto it = keys.begin(); it != keys.end();) {
      const bool below = it->first == path || it->first.starts_with(path + L"\\");
      it = below ? keys.erase(it) : std::next(it);
    }
  }

  // Set-up and reading back for the tests, bypassing any refusal.
  void Put(ClassesBranch branch, std::wstring_view path, std::wstring_view text) {
    CreatePath(branch, path);
    Keys(branch)[Fold(path)].value = std::wstring(text);
  }
  std::optional<std::wstring> Value(ClassesBranch branch, std::wstring_view path) const {
    const auto& keys = branch == ClassesBranch::kMachine ? machine_ : user_;
    const auto it = keys.find(Fold(path));
    return it == keys.end() ? std::nullopt : it->second.value;
  }
  // A named value ("" for the default one); nullopt when the key or the value is missing.
  std::optional<std::wstring> NamedValue(ClassesBranch branch, std::wstring_view path,
                                         std::wstring_view name) const {
    if (name.empty()) return Value(branch, path);
    const auto& keys = branch == ClassesBranch::kMachine ? machine_ : user_;
    const auto key = keys.find(Fold(path));
    if (key == keys.end()) return std::nullopt;
    const auto value = key->second.named.find(Fold(name));
    if (value == key->second.named.end()) return std::nullopt;
    return value->second;
  }
  size_t KeyCount(ClassesBranch branch) const {
    return (branch == ClassesBranch::kMachine ? machine_ : user_).size();
  }

 private:
  struct Key {
    std::optional<std::wstring> value;
    std::map<std::wstring, std::wstring> named;  // by folded name
  };

  static std::wstring Fold(std::wstring_view path) {
    std::wstring folded(path);
    for (wchar_t& c : folded) {
      if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return folded;
  }

  std::map<std::wstring, Key>& Keys(ClassesBranch branch) {
    return branch == ClassesBranch::kMachine ? machine_ : user_;
  }

  void CreatePath(ClassesBranch branch, std::wstring_view path) {
    auto& keys = Keys(branch);
    const std::wstring folded = Fold(path);
    for (size_t at = folded.find(L'\\'); at != std::wstring::npos;
         at = folded.find(L'\\', at + 1)) {
      keys.try_emplace(folded.substr(0, at));
    }
    if (!folded.empty()) keys.try_emplace(folded);
  }

  std::map<std::wstring, Key> machine_;
  std::map<std::wstring, Key> user_;
};

}  // namespace shell::testing
