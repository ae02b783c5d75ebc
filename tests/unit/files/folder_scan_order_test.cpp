#include "files/folder_scan_order.h"

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "test_lower_case.h"

namespace files {
namespace {

using namespace std::string_view_literals;
using Paths = std::vector<std::wstring>;

// A made-up tree: each folder (full path ending in "\") maps to its entries in listing order; a
// name ending in "\" is a folder. Folders missing from the map cannot be listed.
class FakeLister : public FolderLister {
 public:
  using Tree = std::map<std::wstring, std::vector<std::wstring>>;
  FakeLister(std::initializer_list<Tree::value_type> tree) : tree_(tree) {}

  void List(const std::wstring& folder, const Take& take) override {
    listed.push_back(folder);
    const auto found = tree_.find(folder);
    if (found == tree_.end()) return;
    for (const std::wstring& entry : found->second) {
      const bool isFolder = !entry.empty() && entry.back() == L'\\';
      take(isFolder ? std::wstring_view(entry).substr(0, entry.size() - 1) : entry, isFolder);
    }
  }

  Paths listed;  // the folders in the order they were listed

 private:
  Tree tree_;
};

Paths Scan(FakeLister& lister, std::wstring_view folder, std::wstring_view patterns) {
  return ScanFolderPaths(folder, patterns, lister, testing::TestLowerCase);
}

TEST(ScanFolderPaths, SubfolderResultsComeFirstLastFoundFirst) {
  FakeLister lister{
      {L"F:\\", {L"f1.rm", L"A\\", L"f2.rm", L"B\\"}},
      {L"F:\\A\\", {L"a1.rm", L"A1\\"}},
      {L"F:\\A\\A1\\", {L"x.rm"}},
      {L"F:\\B\\", {L"b1.rm"}},
  };
  EXPECT_EQ(Scan(lister, L"F:\\", L"*.rm"), (Paths{L"F:\\B\\b1.rm", L"F:\\A\\A1\\x.rm",
                                                   L"F:\\A\\a1.rm", L"F:\\f1.rm", L"F:\\f2.rm"}));
  // Depth first, subfolders in the order found, each listing finished before a subfolder's.
  EXPECT_EQ(lister.listed, (Paths{L"F:\\", L"F:\\A\\", L"F:\\A\\A1\\", L"F:\\B\\"}));
}

TEST(ScanFolderPaths, MatchesLowerCasedNamesAndKeepsTheirSpelling) {
  FakeLister lister{
      {L"D:\\v\\", {L"Clip.RM", L"clip.rmvb", L"ÄRGER.Rm", L"pic001.jpg", L"pic01.jpg"}},
  };
  EXPECT_EQ(Scan(lister, L"D:\\v", L"*.RM;PIC???.jpg"),
            (Paths{L"D:\\v\\Clip.RM", L"D:\\v\\ÄRGER.Rm", L"D:\\v\\pic001.jpg"}));
  EXPECT_EQ(Scan(lister, L"D:\\v\\", L"*rm*"),
            (Paths{L"D:\\v\\Clip.RM", L"D:\\v\\clip.rmvb", L"D:\\v\\ÄRGER.Rm"}));
}

TEST(ScanFolderPaths, NamesWithoutExtensionGetATrailingDot) {
  FakeLister lister{{L"C:\\v\\", {L"readme", L"a.rm", L"Makefile"}}};
  EXPECT_EQ(Scan(lister, L"C:\\v", L"*."), (Paths{L"C:\\v\\readme.", L"C:\\v\\Makefile."}));
  EXPECT_EQ(Scan(lister, L"C:\\v", L"*"),
            (Paths{L"C:\\v\\readme.", L"C:\\v\\a.rm", L"C:\\v\\Makefile."}));
}

TEST(ScanFolderPaths, PassesOverQuestionMarksAndNeverEntersDotFolders) {
  FakeLister lister{
      {L"C:\\v\\", {L".\\", L"..\\", L"a?.rm", L"s?\\", L"ok\\", L"b.rm"}},
      {L"C:\\v\\s?\\", {L"hidden.rm"}},
      {L"C:\\v\\ok\\", {L"c.rm", L"..\\"}},
  };
  EXPECT_EQ(Scan(lister, L"C:\\v", L"*.rm"), (Paths{L"C:\\v\\ok\\c.rm", L"C:\\v\\b.rm"}));
  EXPECT_EQ(lister.listed, (Paths{L"C:\\v\\", L"C:\\v\\ok\\"}));
}

TEST(ScanFolderPaths, AFolderThatCannotBeListedAddsNothing) {
  FakeLister lister{{L"C:\\v\\", {L"gone\\", L"a.rm"}}};
  EXPECT_EQ(Scan(lister, L"C:\\v", L"*.rm"), (Paths{L"C:\\v\\a.rm"}));
  EXPECT_EQ(Scan(lister, L"C:\\nowhere", L"*.rm"), Paths{});
}

TEST(ScanFolderPaths, EmptyFolderOrPatternsGiveNothing) {
  FakeLister lister{{L"C:\\v\\", {L"a.rm"}}};
  EXPECT_EQ(Scan(lister, L"", L"*.rm"), Paths{});
  EXPECT_TRUE(lister.listed.empty());
  EXPECT_EQ(Scan(lister, L"C:\\v", L""), Paths{});
  EXPECT_EQ(Scan(lister, L"C:\\v", L";;"), Paths{});
}

TEST(ScanText, PutsANulBeforeEveryPath) {
  EXPECT_EQ(ScanText({L"C:\\a.rm", L"C:\\b.rm"}), L"\0C:\\a.rm\0C:\\b.rm"sv);
  EXPECT_EQ(ScanText({}), L"");
}

}  // namespace
}  // namespace files
