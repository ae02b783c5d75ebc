// The right-click association against Wine's real registry: where each key lands, what is kept in
// shell_Old and put back, the per-user fallback, and the shell actually running the verb.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "platform/unique_handle.h"
#include "registry_oracle.h"
#include "shell/real_files_menu.h"
#include "shell/reg_classes.h"
#include "shell/shell_verb.h"
#include "shell/verb_association.h"
#include "shell/verb_command.h"
#include "test_support.h"

namespace shell {
namespace {

using shell_test::KeyExists;
using shell_test::ReadText;
using shell_test::SubKeys;
using shell_test::ValueNames;
using Names = std::vector<std::wstring>;

const HKEY kClasses = HKEY_CLASSES_ROOT;
const HKEY kUser = HKEY_CURRENT_USER;
constexpr const wchar_t* kUserClasses = L"Software\\Classes\\";
constexpr const wchar_t* kExe = LR"(C:\Program Files\Quellin\Quellin.exe)";
constexpr const wchar_t* kOwnCommand = LR"("C:\Program Files\Quellin\Quellin.exe"  "%1")";
constexpr const wchar_t* kPlayer = LR"("C:\Real\realplay.exe" "%1")";
constexpr const wchar_t* kVerb = L"去除R&eal事件";

// The machine-wide branch as a standard user meets it: every write and delete refused.
class RefusingMachine final : public ClassesRegistry {
 public:
  std::wstring ReadValue(ClassesBranch branch, std::wstring_view path,
                         std::wstring_view name) override {
    return real_.ReadValue(branch, path, name);
  }
  std::int32_t WriteValue(ClassesBranch branch, std::wstring_view path, std::wstring_view name,
                          std::wstring_view text) override {
    if (branch == ClassesBranch::kMachine) return ERROR_ACCESS_DENIED;
    return real_.WriteValue(branch, path, name, text);
  }
  bool KeyExists(ClassesBranch branch, std::wstring_view path) override {
    return real_.KeyExists(branch, path);
  }
  void DeleteTree(ClassesBranch branch, std::wstring_view parentPath,
                  std::wstring_view keyName) override {
    if (branch == ClassesBranch::kUser) real_.DeleteTree(branch, parentPath, keyName);
  }

 private:
  RegClasses real_;
};

// Two extensions of one class and one without a class, all made up for this test and removed
// afterwards from both branches.
class VerbAssociationWin : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    const std::wstring id =
        std::to_wstring(GetCurrentProcessId()) + L"x" + std::to_wstring(++counter);
    ext_ = L"qlrm" + id;
    extVb_ = L"qlrmvb" + id;
    extBare_ = L"qlbare" + id;
    class_ = L"QuellinTest.Film" + id;
    shell_test::PutText(kClasses, L"." + ext_, L"", class_);
    shell_test::PutText(kClasses, L"." + extVb_, L"", class_);
  }

  void TearDown() override {
    for (const std::wstring& key :
         {L"." + ext_, L"." + extVb_, L"." + extBare_, class_, BareBase()}) {
      shell_test::RemoveKey(kClasses, key);
      shell_test::RemoveKey(kUser, kUserClasses + key);
    }
  }

  std::wstring BareBase() const { return L"SystemFileAssociations\\." + extBare_; }
  std::wstring VerbKey() const { return class_ + L"\\shell\\" + kVerb; }
  std::wstring SavedKey() const { return class_ + L"\\shell_Old\\" + kVerb + L"\\command"; }

  void Register(const std::wstring& ext, const wchar_t* exe = kExe) {
    std::wstring verb = kVerb;
    std::wstring icon(kKeepIconToken);
    RegisterShellVerbIn(*registry_, exe, ext, verb, kOwnCommandToken, icon, false, L"");
  }
  void Unregister(const std::wstring& ext) {
    std::wstring verb = kVerb;
    UnregisterShellVerbIn(*registry_, kExe, ext, verb, kOwnCommandToken, L"");
  }
  bool IsRegistered(const std::wstring& ext, const wchar_t* exe = kExe) {
    std::wstring verb = kVerb;
    return IsShellVerbRegisteredIn(*registry_, exe, ext, verb, kOwnCommandToken, L"");
  }

  RegClasses real_;
  RefusingMachine refusing_;
  ClassesRegistry* registry_ = &real_;
  std::wstring ext_, extVb_, extBare_, class_;
};

TEST_F(VerbAssociationWin, AFirstRegistrationWritesExactlyTheCaptionAndTheCommand) {
  shell_test::PutText(kClasses, class_ + L"\\DefaultIcon", L"", L"C:\\Real\\rm.ico,0");
  ASSERT_FALSE(IsRegistered(ext_));
  Register(ext_);

  EXPECT_EQ(SubKeys(kClasses, class_), (Names{L"DefaultIcon", L"shell"}));
  EXPECT_EQ(SubKeys(kClasses, class_ + L"\\shell"), Names{kVerb});
  EXPECT_EQ(ValueNames(kClasses, VerbKey()), Names{L""});
  EXPECT_EQ(ReadText(kClasses, VerbKey()), kVerb);
  EXPECT_EQ(SubKeys(kClasses, VerbKey()), Names{L"command"});
  EXPECT_EQ(ValueNames(kClasses, VerbKey() + L"\\command"), Names{L""});
  EXPECT_EQ(ReadText(kClasses, VerbKey() + L"\\command"), kOwnCommand);
  EXPECT_TRUE(IsRegistered(ext_));

  // "UseOld" leaves the type's icon alone, and the removal never touches it either.
  Unregister(ext_);
  EXPECT_EQ(SubKeys(kClasses, class_ + L"\\shell"), Names{});
  EXPECT_EQ(ReadText(kClasses, class_ + L"\\DefaultIcon"), L"C:\\Real\\rm.ico,0");
  EXPECT_FALSE(IsRegistered(ext_));
}

TEST_F(VerbAssociationWin, TwoExtensionsOfOneClassShareOneEntry) {
  Register(ext_);
  const std::wstring once = shell_test::TreeSnapshot(kClasses, class_);
  Register(extVb_);
  EXPECT_EQ(shell_test::TreeSnapshot(kClasses, class_), once);
  EXPECT_TRUE(IsRegistered(extVb_));

  Unregister(ext_);
  EXPECT_FALSE(KeyExists(kClasses, VerbKey()));
  const std::wstring removed = shell_test::TreeSnapshot(kClasses, class_);
  Unregister(extVb_);
  EXPECT_EQ(shell_test::TreeSnapshot(kClasses, class_), removed);
}

TEST_F(VerbAssociationWin, AForeignCommandIsKeptInShellOldAndPutBack) {
  shell_test::PutText(kClasses, VerbKey() + L"\\command", L"", kPlayer);
  shell_test::PutText(kClasses, VerbKey() + L"\\ddeexec\\application", L"", L"realplay");
  Register(ext_);
  EXPECT_EQ(ReadText(kClasses, SavedKey()), kPlayer);
  EXPECT_EQ(ReadText(kClasses, VerbKey() + L"\\command"), kOwnCommand);

  Unregister(ext_);
  // The verb comes back with the saved command only: no caption, no other subkey, no shell_Old.
  EXPECT_EQ(ReadText(kClasses, VerbKey() + L"\\command"), kPlayer);
  EXPECT_EQ(ValueNames(kClasses, VerbKey()), Names{});
  EXPECT_EQ(SubKeys(kClasses, VerbKey()), Names{L"command"});
  EXPECT_FALSE(KeyExists(kClasses, class_ + L"\\shell_Old"));
}

TEST_F(VerbAssociationWin, OwnOlderCommandsAreOverwrittenWithoutBeingSaved) {
  // The program's name in other letter case is still the program.
  shell_test::PutText(kClasses, VerbKey() + L"\\command", L"", LR"("C:\OLD\QUELLIN.EXE" "%1")");
  EXPECT_FALSE(IsRegistered(ext_));
  Register(ext_);
  EXPECT_FALSE(KeyExists(kClasses, class_ + L"\\shell_Old"));
  EXPECT_EQ(ReadText(kClasses, VerbKey() + L"\\command"), kOwnCommand);

  // The program moved to another folder: the old entry no longer counts, and is replaced.
  constexpr const wchar_t* kMoved = LR"(D:\新文件夹\Quellin.exe)";
  EXPECT_FALSE(IsRegistered(ext_, kMoved));
  Register(ext_, kMoved);
  EXPECT_TRUE(IsRegistered(ext_, kMoved));
  EXPECT_FALSE(IsRegistered(ext_));
  EXPECT_FALSE(KeyExists(kClasses, class_ + L"\\shell_Old"));
  EXPECT_EQ(ReadText(kClasses, VerbKey() + L"\\command"), LR"("D:\新文件夹\Quellin.exe"  "%1")");
}

TEST_F(VerbAssociationWin, RemovalDeletesEverySubkeyOfTheVerb) {
  Register(ext_);
  shell_test::PutText(kClasses, VerbKey() + L"\\DropTarget\\深\\更深", L"", L"x");
  shell_test::CreateKey(kClasses, VerbKey() + L"\\ddeexec");
  Unregister(ext_);
  EXPECT_FALSE(KeyExists(kClasses, VerbKey()));
  EXPECT_TRUE(KeyExists(kClasses, class_ + L"\\shell"));
}

TEST_F(VerbAssociationWin, ATypeWithoutAClassGetsItsVerbUnderSystemFileAssociations) {
  Register(extBare_);
  EXPECT_EQ(ReadText(kClasses, BareBase() + L"\\shell\\" + kVerb + L"\\command"), kOwnCommand);
  EXPECT_EQ(ReadText(kClasses, BareBase() + L"\\shell\\" + kVerb), kVerb);
  EXPECT_FALSE(KeyExists(kClasses, L"." + extBare_));
  EXPECT_TRUE(IsRegistered(extBare_));
  Unregister(extBare_);
  EXPECT_FALSE(KeyExists(kClasses, BareBase() + L"\\shell\\" + kVerb));
  EXPECT_FALSE(IsRegistered(extBare_));
}

TEST_F(VerbAssociationWin, RefusedMachineWideWritesLandInTheUsersClasses) {
  registry_ = &refusing_;
  shell_test::PutText(kClasses, VerbKey() + L"\\command", L"", kPlayer);
  Register(ext_);
  Register(extBare_);

  const std::wstring userVerb = kUserClasses + VerbKey();
  EXPECT_EQ(ReadText(kUser, userVerb), kVerb);
  EXPECT_EQ(ReadText(kUser, userVerb + L"\\command"), kOwnCommand);
  EXPECT_EQ(ReadText(kUser, kUserClasses + SavedKey()), kPlayer);
  EXPECT_EQ(ReadText(kUser, kUserClasses + BareBase() + L"\\shell\\" + kVerb + L"\\command"),
            kOwnCommand);
  // Nothing new machine-wide: the foreign command is still the only thing there.
  const std::wstring machine = L"Software\\Classes\\" + VerbKey();
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, machine + L"\\command"), kPlayer);
  EXPECT_EQ(ValueNames(HKEY_LOCAL_MACHINE, machine), Names{});
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + BareBase()));

  // The per-user entry is what the query finds, with or without machine-wide rights.
  EXPECT_TRUE(IsRegistered(ext_));
  EXPECT_TRUE(IsRegistered(extBare_));
  registry_ = &real_;
  EXPECT_TRUE(IsRegistered(ext_));

  registry_ = &refusing_;
  Unregister(ext_);
  Unregister(extBare_);
  EXPECT_EQ(ReadText(kUser, userVerb + L"\\command"), kPlayer);
  EXPECT_EQ(ValueNames(kUser, userVerb), Names{});
  EXPECT_FALSE(KeyExists(kUser, kUserClasses + class_ + L"\\shell_Old"));
  EXPECT_FALSE(KeyExists(kUser, kUserClasses + BareBase() + L"\\shell\\" + kVerb));
  EXPECT_FALSE(IsRegistered(ext_));
  EXPECT_FALSE(IsRegistered(extBare_));
}

// The shell runs what was registered: the program's path in quotes, two blanks and the clicked
// file in quotes, which the program's own argument splitting turns into that one path. Only the
// class case can be shown here: Wine's ShellExecuteEx does not look under SystemFileAssociations
// (it fails with ERROR_BAD_EXE_FORMAT), which Windows does.
TEST_F(VerbAssociationWin, TheShellRunsTheVerbOnTheClickedFile) {
  testing_win::ScratchFolder folder;
  const std::wstring child = testing_win::SiblingProgram(L"shell_verb_child.exe");
  std::wstring verb = kVerb;
  std::wstring icon(kKeepIconToken);
  RegisterShellVerbIn(real_, child, ext_, verb, kOwnCommandToken, icon, false, L"");
  const std::wstring film = folder / (L"影片 一." + ext_);
  ASSERT_TRUE(testing_win::WriteBytes(film, ".RMF"));

  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = kVerb;
  info.lpFile = film.c_str();
  info.nShow = SW_HIDE;
  ASSERT_TRUE(ShellExecuteExW(&info)) << GetLastError();
  platform::UniqueHandle process(info.hProcess);
  ASSERT_TRUE(process);
  ASSERT_EQ(WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);

  const std::string seen = testing_win::ReadBytes(film + L".seen");
  const std::wstring commandLine(reinterpret_cast<const wchar_t*>(seen.data()),
                                 seen.size() / sizeof(wchar_t));
  EXPECT_EQ(commandLine, L"\"" + child + L"\"  \"" + film + L"\"");
}

// The main window's pair of entries on this prefix's own .rm and .rmvb, for the running program.
// A fresh prefix has no player, so they land under SystemFileAssociations; a class is honoured too.
class RealFilesMenu : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const wchar_t* ext : {L"rm", L"rmvb"}) {
      for (const std::wstring& base : {Base(ext), std::wstring(L"RealMediaTest")}) {
        for (const std::wstring& key : {base + L"\\shell\\" + kVerb, base + L"\\shell_Old"}) {
          shell_test::RemoveKey(kClasses, key);
          shell_test::RemoveKey(kUser, kUserClasses + key);
        }
      }
    }
    if (ReadText(kClasses, L".rmvb") == L"RealMediaTest") shell_test::RemoveKey(kClasses, L".rmvb");
    shell_test::RemoveKey(kClasses, L"RealMediaTest");
  }

  static std::wstring Base(const wchar_t* ext) {
    const std::wstring className = ReadText(kClasses, std::wstring(L".") + ext).value_or(L"");
    return className.empty() ? std::wstring(L"SystemFileAssociations\\.") + ext : className;
  }
  static std::wstring VerbKey(const wchar_t* ext) { return Base(ext) + L"\\shell\\" + kVerb; }
  static std::wstring CommandKey(const wchar_t* ext) { return VerbKey(ext) + L"\\command"; }
};

TEST_F(RealFilesMenu, RegistersQueriesAndRemovesBothEntriesForThisProgram) {
  // .rmvb gets a class of its own, as a player would give it; .rm stays without one if it has none.
  if (!ReadText(kClasses, L".rmvb")) shell_test::PutText(kClasses, L".rmvb", L"", L"RealMediaTest");
  wchar_t self[MAX_PATH] = {};
  const std::wstring exe(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  const std::wstring folder = exe.substr(0, exe.rfind(L'\\'));
  const std::wstring expected = L"\"" + folder + L"\\shell_win_tests.exe\"  \"%1\"";

  SetRealFilesMenu(true);
  EXPECT_TRUE(IsRealFilesMenuOn());
  EXPECT_EQ(ReadText(kClasses, CommandKey(L"rm")), expected);
  EXPECT_EQ(ReadText(kClasses, CommandKey(L"rmvb")), expected);
  EXPECT_EQ(ReadText(kClasses, VerbKey(L"rm"), L"MultiSelectModel"), L"Player");
  EXPECT_EQ(ReadText(kClasses, VerbKey(L"rmvb"), L"MultiSelectModel"), L"Player");

  // An entry an older Quellin wrote, without the value, is still ours; ticking again adds it.
  shell_test::RemoveValue(kClasses, VerbKey(L"rm"), L"MultiSelectModel");
  EXPECT_TRUE(IsRealFilesMenuOn());
  SetRealFilesMenu(true);
  EXPECT_EQ(ReadText(kClasses, VerbKey(L"rm"), L"MultiSelectModel"), L"Player");

  // Another copy of the program owns the entry: not ours, and ticking again takes it over
  // without keeping the other copy's command.
  shell_test::PutText(kClasses, CommandKey(L"rm"), L"", LR"("D:\别处\shell_win_tests.exe"  "%1")");
  EXPECT_FALSE(IsRealFilesMenuOn());
  SetRealFilesMenu(true);
  EXPECT_TRUE(IsRealFilesMenuOn());
  EXPECT_FALSE(KeyExists(kClasses, Base(L"rm") + L"\\shell_Old"));

  SetRealFilesMenu(false);
  EXPECT_FALSE(IsRealFilesMenuOn());
  EXPECT_FALSE(KeyExists(kClasses, VerbKey(L"rm")));
  EXPECT_FALSE(KeyExists(kClasses, VerbKey(L"rmvb")));
}

// A standard user: both entries and their MultiSelectModel land in the user's classes, and go
// with the entries.
TEST_F(RealFilesMenu, WithoutMachineWideRightsBothEntriesAndTheirValueLandPerUser) {
  RefusingMachine refusing;
  SetRealFilesMenuIn(refusing, kExe, true);
  EXPECT_TRUE(IsRealFilesMenuOnIn(refusing, kExe));
  for (const wchar_t* ext : {L"rm", L"rmvb"}) {
    EXPECT_EQ(ReadText(kUser, kUserClasses + CommandKey(ext)), kOwnCommand);
    EXPECT_EQ(ReadText(kUser, kUserClasses + VerbKey(ext), L"MultiSelectModel"), L"Player");
    EXPECT_FALSE(KeyExists(kClasses, VerbKey(ext)));
  }
  SetRealFilesMenuIn(refusing, kExe, false);
  EXPECT_FALSE(IsRealFilesMenuOnIn(refusing, kExe));
  for (const wchar_t* ext : {L"rm", L"rmvb"}) {
    EXPECT_FALSE(KeyExists(kUser, kUserClasses + VerbKey(ext)));
  }
}

}  // namespace
}  // namespace shell
