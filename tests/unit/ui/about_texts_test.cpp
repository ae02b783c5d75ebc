#include "ui/about_texts.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(AboutTexts, CaptionNamesTheProgramAndItsAuthor) {
  EXPECT_EQ(AboutCaption(L"Quellin"), L"关于 Quellin --By Ostrelo");
  EXPECT_EQ(AboutCaption(L"去事件 v2"), L"关于 去事件 v2 --By Ostrelo");
  EXPECT_EQ(AboutCaption(L""), L"关于  --By Ostrelo");
}

TEST(AboutTexts, VersionIsDecimalWithoutLeadingZeros) {
  EXPECT_EQ(VersionText(1, 0, 0), L"Ver: 1.0.0");
  EXPECT_EQ(VersionText(10, 2, 305), L"Ver: 10.2.305");
  EXPECT_EQ(VersionText(65535, 65535, 65535), L"Ver: 65535.65535.65535");
}

TEST(AboutTexts, DescriptionWithoutLineMarksIsUnchanged) {
  for (const wchar_t* text : {L"", L"一行说明", L"C:\\temp\\Quellin", L"ends in \\",
                              L"\\N is no mark", L"real\nline feed"}) {
    EXPECT_EQ(ExpandLineBreaks(text), text);
  }
}

TEST(AboutTexts, EachLineMarkBecomesCrLf) {
  EXPECT_EQ(ExpandLineBreaks(L"第一行\\n第二行\\n第三行"), L"第一行\r\n第二行\r\n第三行");
  EXPECT_EQ(ExpandLineBreaks(L"\\n"), L"\r\n");
  EXPECT_EQ(ExpandLineBreaks(L"a\\n\\nb\\n"), L"a\r\n\r\nb\r\n");
  // A backslash before the mark stays: only the pair right before the "n" is the mark.
  EXPECT_EQ(ExpandLineBreaks(L"a\\\\nb"), L"a\\\r\nb");
}

TEST(AboutTexts, AnUnsetContactReadsNotGiven) {
  EXPECT_EQ(ContactText(L""), L"未提供");
  EXPECT_EQ(ContactText(L"someone@example.org"), L"someone@example.org");
}

TEST(AboutTexts, HomePageOpensThroughExplorerWithTheAddressQuoted) {
  EXPECT_EQ(HomePageCommand(L"https://example.org/a b"), L"explorer \"https://example.org/a b\"");
  EXPECT_EQ(HomePageCommand(L"https://example.org/?q=%E4&x=1"),
            L"explorer \"https://example.org/?q=%E4&x=1\"");
}

TEST(AboutTexts, NoCommandForAMissingOrUnsafeAddress) {
  EXPECT_FALSE(HomePageCommand(L""));
  EXPECT_FALSE(HomePageCommand(L"https://example.org/\" & calc \""));
  EXPECT_FALSE(HomePageCommand(L"https://example.org/\r\nnext"));
  EXPECT_FALSE(HomePageCommand(L"https://example.org/\t"));
}

}  // namespace
}  // namespace ui
