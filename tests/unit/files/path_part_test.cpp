#include "files/path_part.h"

#include <string_view>

#include <gtest/gtest.h>

namespace files {
namespace {

TEST(GetPathPart, FollowsItsTable) {
  struct Case {
    const wchar_t* path;
    int part;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {LR"(C:\v\a.b.rm)", 0, L"a.b.rm"},
      {LR"(C:\v\a.b.rm)", 1, L"a.b"},
      {LR"(C:\v\a.b.rm)", 2, L"rm"},
      {LR"(C:\v\a.b.rm)", 3, LR"(C:\v\a.b)"},
      // A dot in a folder name counts for parts 2 and 3 when the file name has none.
      {LR"(C:\v.1\readme)", 0, L"readme"},
      {LR"(C:\v.1\readme)", 1, L"readme"},
      {LR"(C:\v.1\readme)", 2, LR"(1\readme)"},
      {LR"(C:\v.1\readme)", 3, LR"(C:\v)"},
      // A command line: quoted program path, a blank, the quoted "%1".
      {LR"("C:\Program Files\Quellin\Quellin.exe" "%1")", 1, L"Quellin"},
      {LR"("C:\Program Files\Quellin\Quellin.exe" "%1")", 0, LR"(Quellin.exe" "%1")"},
      // "/" counts as "\" and the text is cut before its first "?".
      {L"C:/v/a.rm", 0, L"a.rm"},
      {L"C:/v/a.rm", 3, LR"(C:\v\a)"},
      {LR"(C:\v\a.rm?x=1.2)", 2, L"rm"},
      {LR"(C:\v\a.rm?x\y.z)", 0, L"a.rm"},
      {L"?abc.rm", 0, L""},
      // No separator, no dot, empty text.
      {L"a.rm", 0, L"a.rm"},
      {L"a.rm", 1, L"a"},
      {L"readme", 2, L""},
      {L"readme", 3, L"readme"},
      {L"", 0, L""},
      {L"", 2, L""},
      {LR"(C:\v\)", 0, L""},
      {LR"(C:\v\.rm)", 1, L""},
      {LR"(C:\v\a.)", 2, L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetPathPart(c.path, c.part), c.expected) << "path [" << c.path << "] part " << c.part;
  }
}

TEST(GetPathPart, TakesTheExtensionOfTheLastPathOfASelection) {
  using namespace std::string_view_literals;
  EXPECT_EQ(GetPathPart(L"C:\\v\\a.rm\0C:\\v\\b.rmvb"sv, 2), L"rmvb");
  EXPECT_EQ(GetPathPart(L"C:\\v.d\\a.rm\0C:\\v.d\\readme"sv, 2), L"d\\readme");
}

TEST(GetPathPart, OtherPartNumbersCutLikeTheirParity) {
  EXPECT_EQ(GetPathPart(LR"(C:\v\a.b.rm)", 4), L"a.b.rm");
  EXPECT_EQ(GetPathPart(LR"(C:\v\a.b.rm)", 5), L"a.b");
  EXPECT_EQ(GetPathPart(LR"(C:\v\a.b.rm)", -1), L"a.b");
}

}  // namespace
}  // namespace files
