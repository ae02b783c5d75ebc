#include "shell/reg_text.h"

#include <string>

#include <gtest/gtest.h>

namespace shell::reg {
namespace {

using namespace std::string_literals;

TEST(RegText, MultiStringDataReadsAsLinesEachEndedByCrLf) {
  // The data as the layer decodes it: every byte but the final terminator.
  EXPECT_EQ(MultiSzDataToText(L"a\0b\0"s), L"a\r\nb\r\n");
  EXPECT_EQ(MultiSzDataToText(L"去除\0事件\0"s), L"去除\r\n事件\r\n");
  // Adjacent NULs are deleted pairwise from the left before the rest turn into line breaks, so
  // an empty string inside the list vanishes and three NULs leave one.
  EXPECT_EQ(MultiSzDataToText(L"a\0\0b\0"s), L"ab\r\n");
  EXPECT_EQ(MultiSzDataToText(L"a\0\0\0b"s), L"a\r\nb");
  EXPECT_EQ(MultiSzDataToText(L"\0"s), L"\r\n");
  EXPECT_EQ(MultiSzDataToText(L""), L"");
}

TEST(RegText, MultiStringTextRoundTripsThroughItsData) {
  EXPECT_EQ(TextToMultiSzData(L"a\r\nb\r\n"), L"a\0b\0"s);
  // A lone CR or LF is data like any other character.
  EXPECT_EQ(TextToMultiSzData(L"a\rb\nc"), L"a\rb\nc");
  EXPECT_EQ(TextToMultiSzData(L"\r\r\n"), L"\r\0"s);
  for (const std::wstring text : {L"a\r\nb\r\n", L"路径一\r\n路径二\r\n", L"single\r\n"}) {
    EXPECT_EQ(MultiSzDataToText(TextToMultiSzData(text)), text);
  }
}

TEST(RegText, StringDataIsCutBeforeItsLastNul) {
  EXPECT_EQ(SzDataToText(L"plain"), L"plain");
  EXPECT_EQ(SzDataToText(L"ab\0cd"s), L"ab");
  EXPECT_EQ(SzDataToText(L"a\0b\0c"s), L"a\0b"s);
  EXPECT_EQ(SzDataToText(L"\0"s), L"");
}

TEST(RegText, TrimAtNullKeepsTheTextBeforeTheFirstNul) {
  EXPECT_EQ(TrimAtNull(L"shell\0\0garbage"s), L"shell");
  EXPECT_EQ(TrimAtNull(L"no nul"), L"no nul");
  EXPECT_EQ(TrimAtNull(L"\0x"s), L"");
  EXPECT_EQ(TrimAtNull(L""), L"");
}

}  // namespace
}  // namespace shell::reg
