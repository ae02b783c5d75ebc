#include "files/path_text.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace files {
namespace {

TEST(ParentFolder, CutsTheLastComponent) {
  struct Case {
    const wchar_t* path;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {LR"(C:\v\a.rm)", LR"(C:\v)"},
      {LR"(C:\v\sub\)", LR"(C:\v)"},
      {LR"(C:\v\)", L"C:"},
      {LR"(C:\)", L""},
      {L"C:", L""},
      {L"a.rm", L""},
      {L"", L""},
      {LR"(\)", L""},
      {LR"(\a.rm)", L""},
      // Only one trailing separator is ignored.
      {LR"(C:\v\\)", LR"(C:\v)"},
      {LR"(\\srv\share\a.rm)", LR"(\\srv\share)"},
      {LR"(D:\电影\清除.rmvb)", LR"(D:\电影)"},
      // Any "/" in the path turns every separator of the result into "/".
      {L"C:/v/sub/a.rm", L"C:/v/sub"},
      {LR"(C:\v/a.rm)", L"C:/v"},
      {LR"(C:\v\w/a.rm)", L"C:/v/w"},
      {L"C:/v/", L"C:"},
      {L"a/", L""},
      {L"/", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParentFolder(c.path), c.expected) << "path: [" << c.path << "]";
  }
}

TEST(FoldersAlongPath, StartsBelowTheDriveRootOrTheShare) {
  using Folders = std::vector<std::wstring>;
  struct Case {
    const wchar_t* path;
    Folders expected;
  };
  const Case cases[] = {
      {LR"(C:\a\b)", {LR"(C:\a\)", LR"(C:\a\b\)"}},
      {LR"(C:\a\b\)", {LR"(C:\a\)", LR"(C:\a\b\)"}},
      {LR"(D:\x\y\z)", {LR"(D:\x\)", LR"(D:\x\y\)", LR"(D:\x\y\z\)"}},
      {LR"(D:\电影\新)", {LR"(D:\电影\)", LR"(D:\电影\新\)"}},
      {LR"(C:\)", {}},
      {L"C:", {}},
      // Drive-relative and long-path forms still start after the first colon.
      {LR"(C:a\b)", {LR"(C:a\)", LR"(C:a\b\)"}},
      {LR"(\\?\C:\a)", {LR"(\\?\C:\a\)"}},
      // Network paths: neither the server nor the share is ever created.
      {LR"(\\srv\share\x)", {LR"(\\srv\share\x\)"}},
      {LR"(\\srv\share\x\y\)", {LR"(\\srv\share\x\)", LR"(\\srv\share\x\y\)"}},
      {LR"(\\srv\share)", {}},
      {LR"(\\srv\share\)", {}},
      {LR"(\\srv)", {}},
      {LR"(\\)", {}},
      // Relative paths start at the first character, in the current folder.
      {LR"(a\b)", {LR"(a\)", LR"(a\b\)"}},
      {L"a", {LR"(a\)"}},
      {L"", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FoldersAlongPath(c.path), c.expected) << "path: [" << c.path << "]";
  }
}

}  // namespace
}  // namespace files
