#include "shell/verb_command.h"

#include <gtest/gtest.h>

namespace shell {
namespace {

TEST(VerbCommand, TheTokenBecomesTheQuotedProgramTwoBlanksAndTheQuotedPlaceholder) {
  const ResolvedVerb r = ResolveVerbCommandFor(LR"(D:\Tools\prog.exe)", kOwnCommandToken, L"", L"");
  EXPECT_EQ(r.command, LR"("D:\Tools\prog.exe"  "%1")");
  EXPECT_EQ(r.programName, L"prog");
  EXPECT_EQ(r.verb, L"用&prog打开");
}

TEST(VerbCommand, TheOwnCommandLineIsBuiltFromFolderAndNameWithExtraArguments) {
  // The name loses only its last extension, and whatever it was, ".exe" is written.
  EXPECT_EQ(OwnCommandLine(LR"(C:\影音 工具\Quellin.v2.EXE)", L"/q"),
            LR"("C:\影音 工具\Quellin.v2.exe" /q "%1")");
  EXPECT_EQ(OwnCommandLine(LR"(C:\Quellin.exe)", L""), LR"("C:\Quellin.exe"  "%1")");
}

TEST(VerbCommand, ACommandIsTakenAsGivenAndGetsThePlaceholderOnlyWhenItLacksOne) {
  const wchar_t* exe = LR"(D:\Tools\prog.exe)";
  EXPECT_EQ(ResolveVerbCommandFor(exe, LR"("C:\p\play.exe" "%1")", L"v", L"-x").command,
            LR"("C:\p\play.exe" "%1")");
  EXPECT_EQ(ResolveVerbCommandFor(exe, LR"(C:\p\play.exe)", L"v", L"-x").command,
            LR"(C:\p\play.exe -x "%1")");
  // The token is matched exactly; any other spelling is an ordinary command.
  EXPECT_EQ(ResolveVerbCommandFor(exe, L"app.fullexecmd", L"v", L"").command,
            LR"(app.fullexecmd  "%1")");
  // A caller's verb is kept; only an empty one gets the default caption.
  EXPECT_EQ(ResolveVerbCommandFor(exe, kOwnCommandToken, L"去除R&eal事件", L"").verb,
            L"去除R&eal事件");
}

TEST(VerbCommand, TheProgramNameFollowsThePathPartRule) {
  EXPECT_EQ(ProgramNameOf(LR"("D:\Tools\prog.exe"  "%1")"), L"prog");
  EXPECT_EQ(ProgramNameOf(LR"("D:/Tools/清除器.exe" "%1")"), L"清除器");
  EXPECT_EQ(ProgramNameOf(LR"(C:\a\b.c.exe)"), L"b.c");
  EXPECT_EQ(ProgramNameOf(LR"(C:\x.y\run?z\w.exe)"), L"run");
  EXPECT_EQ(ProgramNameOf(L"prog"), L"prog");
}

TEST(VerbCommand, ContainingIgnoresLatinLetterCase) {
  EXPECT_TRUE(ContainsIgnoringCase(LR"("C:\OLD\QUELLIN.EXE" "%1")", L"Quellin"));
  EXPECT_TRUE(ContainsIgnoringCase(L"ÉCRAN.exe", L"écran"));
  EXPECT_TRUE(ContainsIgnoringCase(L"ＱＵＥＬＬＩＮ.exe", L"ｑｕｅｌｌｉｎ"));
  EXPECT_TRUE(ContainsIgnoringCase(L"清除器.exe", L"清除器"));
  EXPECT_FALSE(ContainsIgnoringCase(LR"("C:\p\play.exe" "%1")", L"Quellin"));
  EXPECT_FALSE(ContainsIgnoringCase(L"×", L"÷"));
  EXPECT_TRUE(ContainsIgnoringCase(L"anything", L""));
}

}  // namespace
}  // namespace shell
