#include "process/get_arguments.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace process {
namespace {

using Args = std::vector<std::wstring>;

struct SplitCase {
  const wchar_t* text;
  Args expected;
};

TEST(SplitArguments, FollowsTheBlankAndQuoteRules) {
  const SplitCase cases[] = {
      {LR"("C:\My Films\a.rm")", {LR"(C:\My Films\a.rm)"}},
      {LR"("C:\a.rm" "D:\b.rmvb")", {LR"(C:\a.rm)", LR"(D:\b.rmvb)"}},
      // Every blank outside quotes separates: two in a row leave an empty argument between.
      {LR"(C:\a.rm  D:\b.rm)", {LR"(C:\a.rm)", L"", LR"(D:\b.rm)"}},
      {L"a.rm ", {L"a.rm", L""}},
      {L" a.rm", {L"", L"a.rm"}},
      {L" ", {L"", L""}},
      // Quotes vanish wherever they stand.
      {LR"(ab"c d"e)", {L"abc de"}},
      {LR"("a b"c d"e f")", {L"a bc", L"de f"}},
      // The in-quotes flag runs on to the end of the text.
      {LR"("C:\a b.rm)", {LR"(C:\a b.rm)"}},
      {LR"(x "C:\a b.rm  y)", {L"x", LR"(C:\a b.rm  y)"}},
      // Only the blank and the double quote are special.
      {L"a\tb", {L"a\tb"}},
      {L"a\rb\nc", {L"a\rb\nc"}},
      // A CR LF already in the text separates like a blank.
      {L"a\r\nb", {L"a", L"b"}},
      {L"a\r\n\r\nb", {L"a", L"", L"b"}},
      {L"\r\n", {L"", L""}},
      {L"\"a\r\nb\"", {L"a", L"b"}},
      {LR"("D:\电影\清除 事件.rmvb" 新.rm)", {LR"(D:\电影\清除 事件.rmvb)", L"新.rm"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(SplitArguments(c.text), c.expected) << "text: [" << c.text << "]";
  }
}

TEST(SplitArguments, NothingToSplitGivesNoArguments) {
  EXPECT_TRUE(SplitArguments(L"").empty());
  EXPECT_TRUE(SplitArguments(L"\"\"").empty());
  EXPECT_TRUE(SplitArguments(L"\"").empty());
  EXPECT_TRUE(SplitArguments(L"\"\"\"\"").empty());
}

TEST(SplitArgumentsJoined, TurnsEachSeparatingBlankIntoCrLf) {
  EXPECT_EQ(SplitArgumentsJoined(L""), L"");
  EXPECT_EQ(SplitArgumentsJoined(L"a b"), L"a\r\nb");
  EXPECT_EQ(SplitArgumentsJoined(L"\"a b\""), L"a b");
  EXPECT_EQ(SplitArgumentsJoined(L"a  b "), L"a\r\n\r\nb\r\n");
  // A CR LF in the text stays as it is in the joined form.
  EXPECT_EQ(SplitArgumentsJoined(L"a\r\nb"), L"a\r\nb");
}

TEST(ArgumentTextOf, DropsTheProgramNameAndTheBlanksAfterIt) {
  struct Case {
    const wchar_t* commandLine;
    const wchar_t* expected;
  };
  const Case cases[] = {
      // What Explorer's right-click entry starts: quoted program, two blanks, quoted file.
      {LR"("C:\Program Files\Quellin\Quellin.exe"  "D:\v\a.rm")", LR"("D:\v\a.rm")"},
      {LR"(C:\Quellin.exe a b)", L"a b"},
      {LR"(C:\Quellin.exe)", L""},
      {LR"("C:\x y\Quellin.exe")", L""},
      {LR"("C:\x y\Quellin.exe"rest)", L"rest"},
      {L"Quellin.exe\tD:\\a.rm", L"D:\\a.rm"},
      {L"Quellin.exe \t a.rm", L"a.rm"},
      // Blanks inside and after the arguments belong to them.
      {L"Quellin.exe a  b ", L"a  b "},
      // An unquoted name ends at the first blank, quotes inside it or not.
      {LR"(C:\a"b c"\Quellin.exe x)", LR"(c"\Quellin.exe x)"},
      // An unterminated quoted name takes the whole line.
      {LR"("C:\x y\Quellin.exe a.rm)", L""},
      {LR"("" a.rm)", L"a.rm"},
      {L"", L""},
      {L"   ", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ArgumentTextOf(c.commandLine), c.expected) << "line: [" << c.commandLine << "]";
  }
}

TEST(ArgumentTextOf, FeedsTheSplitterTheFilesExplorerPasses) {
  const std::wstring line = LR"("C:\Program Files\Quellin\Quellin.exe"  "D:\My Films\a b.rm")";
  EXPECT_EQ(SplitArguments(ArgumentTextOf(line)), Args{LR"(D:\My Films\a b.rm)"});
  EXPECT_TRUE(SplitArguments(ArgumentTextOf(LR"("C:\Quellin.exe")")).empty());
}

}  // namespace
}  // namespace process
