#include "shell/verb_association.h"

#include <string>

#include <gtest/gtest.h>

#include "fake_classes.h"
#include "shell/real_files_menu.h"
#include "shell/reg_text.h"
#include "shell/verb_command.h"

namespace shell {
namespace {

using testing::FakeClasses;
constexpr ClassesBranch kMachine = ClassesBranch::kMachine;
constexpr ClassesBranch kUser = ClassesBranch::kUser;

constexpr const wchar_t* kExe = LR"(C:\Program Files\Quellin\Quellin.exe)";
constexpr const wchar_t* kOwnCommand = LR"("C:\Program Files\Quellin\Quellin.exe"  "%1")";
constexpr const wchar_t* kVerb = L"去除R&eal事件";
constexpr const wchar_t* kVerbCommand = L"RealMedia\\shell\\去除R&eal事件\\command";
constexpr const wchar_t* kPlayer = LR"("C:\Real\realplay.exe" "%1")";

void Register(FakeClasses& fake, std::wstring_view ext, std::wstring icon = L"UseOld",
              bool makeDefault = false, std::wstring_view exe = kExe) {
  std::wstring verb = kVerb;
  RegisterShellVerbIn(fake, exe, ext, verb, kOwnCommandToken, icon, makeDefault, L"");
}
void Unregister(FakeClasses& fake, std::wstring_view ext) {
  std::wstring verb = kVerb;
  UnregisterShellVerbIn(fake, kExe, ext, verb, kOwnCommandToken, L"");
}
bool IsRegistered(FakeClasses& fake, std::wstring_view ext, std::wstring_view exe = kExe) {
  std::wstring verb = kVerb;
  return IsShellVerbRegisteredIn(fake, exe, ext, verb, kOwnCommandToken, L"");
}

TEST(MergedClasses, ReadsThePerUserBranchFirst) {
  FakeClasses fake;
  MergedClasses classes(fake);
  fake.Put(kMachine, L".rm", L"RealMedia");
  EXPECT_EQ(classes.Read(L".rm"), L"RealMedia");
  fake.Put(kUser, L".rm", L"");
  EXPECT_EQ(classes.Read(L".rm"), L"RealMedia");
  fake.Put(kUser, L".rm", L"Player.RM");
  EXPECT_EQ(classes.Read(L".rm"), L"Player.RM");
}

TEST(MergedClasses, WritesPerUserOnlyWhenRefusedOrWhenTheKeyIsAlreadyThere) {
  FakeClasses fake;
  MergedClasses classes(fake);
  EXPECT_EQ(classes.Write(L"A\\shell", L"1"), kMachine);

  fake.machineRefusal = reg::kStatusAccessDenied;
  EXPECT_EQ(classes.Write(L"B\\shell", L"2"), kUser);
  EXPECT_EQ(fake.Value(kUser, L"B\\shell"), L"2");
  EXPECT_EQ(fake.Value(kMachine, L"B\\shell"), std::nullopt);

  // Any other failure has nowhere better to go: the write is lost, as without the fallback.
  fake.machineRefusal = 1021;
  EXPECT_EQ(classes.Write(L"C\\shell", L"3"), kMachine);
  EXPECT_EQ(fake.Value(kUser, L"C\\shell"), std::nullopt);

  // A per-user key hides the machine-wide one in Windows' merged view, so it is updated there.
  fake.machineRefusal = reg::kStatusOk;
  fake.Put(kUser, L"D\\shell", L"old");
  EXPECT_EQ(classes.Write(L"D\\shell", L"new"), kUser);
  EXPECT_EQ(fake.Value(kUser, L"D\\shell"), L"new");
  EXPECT_EQ(fake.machineWrites, 1);
}

TEST(MergedClasses, DeletesInEachBranchThatHoldsTheKeyAndCreatesNothingElsewhere) {
  FakeClasses fake;
  MergedClasses classes(fake);
  fake.Put(kMachine, L"A\\shell\\v\\command", L"x");
  fake.Put(kUser, L"A\\shell\\v\\command", L"y");
  fake.Put(kUser, L"A\\shell\\keep", L"z");
  classes.DeleteEverywhere(L"A\\shell", L"v");
  EXPECT_FALSE(fake.KeyExists(kMachine, L"A\\shell\\v"));
  EXPECT_FALSE(fake.KeyExists(kUser, L"A\\shell\\v"));
  EXPECT_TRUE(fake.KeyExists(kUser, L"A\\shell\\keep"));

  classes.DeleteEverywhere(L"Missing\\shell", L"v");
  EXPECT_FALSE(fake.KeyExists(kMachine, L"Missing"));
  EXPECT_FALSE(fake.KeyExists(kUser, L"Missing"));
}

TEST(VerbAssociation, MakingTheVerbTheDefaultKeepsThePreviousDefaultForTheRemoval) {
  FakeClasses fake;
  fake.Put(kMachine, L".rm", L"RealMedia");
  fake.Put(kMachine, L"RealMedia\\shell", L"open");
  Register(fake, L"rm", L"UseOld", true);
  EXPECT_EQ(fake.Value(kMachine, L"RealMedia\\shell"), kVerb);
  EXPECT_EQ(fake.Value(kMachine, L"RealMedia\\shell_Old"), L"open");

  Unregister(fake, L"rm");
  EXPECT_EQ(fake.Value(kMachine, L"RealMedia\\shell"), L"open");
  EXPECT_FALSE(fake.KeyExists(kMachine, L"RealMedia\\shell_Old"));
  EXPECT_FALSE(fake.KeyExists(kMachine, L"RealMedia\\shell\\去除R&eal事件"));

  // Without a previous default there is nothing to keep, and shell_Old is not created.
  FakeClasses fresh;
  fresh.Put(kMachine, L".rm", L"RealMedia");
  Register(fresh, L"rm", L"UseOld", true);
  EXPECT_EQ(fresh.Value(kMachine, L"RealMedia\\shell"), kVerb);
  EXPECT_FALSE(fresh.KeyExists(kMachine, L"RealMedia\\shell_Old"));
}

TEST(VerbAssociation, AnEmptyIconBecomesTheCommandLineAndIsHandedBack) {
  FakeClasses fake;
  fake.Put(kMachine, L".rm", L"RealMedia");
  std::wstring verb;
  std::wstring icon;
  RegisterShellVerbIn(fake, kExe, L"rm", verb, kOwnCommandToken, icon, false, L"");
  EXPECT_EQ(verb, L"用&Quellin打开");
  EXPECT_EQ(icon, std::wstring(kOwnCommand) + L",0");
  EXPECT_EQ(fake.Value(kMachine, L"RealMedia\\DefaultIcon"), icon);
  EXPECT_EQ(fake.Value(kMachine, L"RealMedia\\shell\\用&Quellin打开\\command"), kOwnCommand);
}

TEST(VerbAssociation, AnOlderPerUserEntryIsRewrittenInPlaceEvenWhenMachineWideIsWritable) {
  FakeClasses fake;
  fake.Put(kMachine, L".rm", L"RealMedia");
  fake.Put(kUser, kVerbCommand, LR"("D:\old\Quellin.exe"  "%1")");
  EXPECT_FALSE(IsRegistered(fake, L"rm"));
  Register(fake, L"rm");
  EXPECT_EQ(fake.Value(kUser, kVerbCommand), kOwnCommand);
  EXPECT_EQ(fake.machineWrites, 0);
  EXPECT_TRUE(IsRegistered(fake, L"rm"));
  // The entry removed from the user's branch leaves no machine-wide copy behind.
  Unregister(fake, L"rm");
  EXPECT_FALSE(fake.KeyExists(kMachine, L"RealMedia\\shell"));
}

TEST(VerbAssociation, RemovalWithoutACommandChangesNothing) {
  FakeClasses fake;
  fake.Put(kMachine, L".rm", L"RealMedia");
  fake.Put(kMachine, L"RealMedia\\shell", L"open");
  fake.Put(kMachine, L"RealMedia\\shell_Old", L"play");
  fake.Put(kMachine, L"RealMedia\\shell_Old\\去除R&eal事件\\command", kPlayer);
  fake.Put(kMachine, L"RealMedia\\shell\\去除R&eal事件", kVerb);  // a caption, no command
  const size_t keys = fake.KeyCount(kMachine);
  Unregister(fake, L"rm");
  EXPECT_EQ(fake.KeyCount(kMachine), keys);
  EXPECT_EQ(fake.Value(kMachine, L"RealMedia\\shell"), L"open");
  EXPECT_EQ(fake.KeyCount(kUser), 0u);
  EXPECT_EQ(fake.machineWrites + fake.userWrites, 0);
}

TEST(VerbAssociation, AnEmptyExtensionTouchesNothing) {
  FakeClasses fake;
  Register(fake, L"");
  Unregister(fake, L"");
  EXPECT_FALSE(IsRegistered(fake, L""));
  EXPECT_EQ(fake.KeyCount(kMachine) + fake.KeyCount(kUser), 0u);
}

// The main window's pair of entries: .rmvb with a class as a player gives it, .rm without one. The
// verb keys carry MultiSelectModel=Player wherever they are written, and the value goes with them.
TEST(RealFilesMenu, TheVerbKeysCarryMultiSelectModelInTheBranchTheyAreWrittenTo) {
  constexpr const wchar_t* kRmVerb = L"SystemFileAssociations\\.rm\\shell\\去除R&eal事件";
  constexpr const wchar_t* kRmvbVerb = L"RealMedia\\shell\\去除R&eal事件";
  for (const bool standardUser : {false, true}) {
    SCOPED_TRACE(standardUser ? "per-user fallback" : "machine-wide");
    FakeClasses fake;
    fake.Put(kMachine, L".rmvb", L"RealMedia");
    if (standardUser) fake.machineRefusal = reg::kStatusAccessDenied;
    const ClassesBranch written = standardUser ? kUser : kMachine;
    const ClassesBranch other = standardUser ? kMachine : kUser;

    SetRealFilesMenuIn(fake, kExe, true);
    EXPECT_TRUE(IsRealFilesMenuOnIn(fake, kExe));
    for (const wchar_t* verbKey : {kRmVerb, kRmvbVerb}) {
      EXPECT_EQ(fake.NamedValue(written, verbKey, L"MultiSelectModel"), L"Player");
      EXPECT_EQ(fake.Value(written, std::wstring(verbKey) + L"\\command"), kOwnCommand);
      EXPECT_FALSE(fake.KeyExists(other, verbKey));
    }

    SetRealFilesMenuIn(fake, kExe, false);
    EXPECT_FALSE(IsRealFilesMenuOnIn(fake, kExe));
    for (const wchar_t* verbKey : {kRmVerb, kRmvbVerb}) {
      EXPECT_FALSE(fake.KeyExists(written, verbKey));
      EXPECT_EQ(fake.NamedValue(written, verbKey, L"MultiSelectModel"), std::nullopt);
    }
  }
}

TEST(RealFilesMenu, AnEntryWithoutMultiSelectModelStillCountsAndTickingAgainAddsIt) {
  FakeClasses fake;
  fake.Put(kMachine, L".rm", L"RealMedia");
  Register(fake, L"rm");  // as an older Quellin wrote it
  const std::wstring verbKey = L"RealMedia\\shell\\去除R&eal事件";
  ASSERT_EQ(fake.NamedValue(kMachine, verbKey, L"MultiSelectModel"), std::nullopt);
  EXPECT_TRUE(IsRealFilesMenuOnIn(fake, kExe));
  SetRealFilesMenuIn(fake, kExe, true);
  EXPECT_EQ(fake.NamedValue(kMachine, verbKey, L"MultiSelectModel"), L"Player");
  EXPECT_TRUE(IsRealFilesMenuOnIn(fake, kExe));
}

}  // namespace
}  // namespace shell
