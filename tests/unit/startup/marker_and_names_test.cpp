// The marker text, the rules for entry names, and the joining side that the build uses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "container_fixtures.h"
#include "pack/container_join.h"
#include "startup/entry_name.h"
#include "startup/hex_text.h"

namespace startup_test {
namespace {

using startup::EntryNameKind;

TEST(HexTextToBytes, DefaultMarkerAndPieces) {
  EXPECT_EQ(startup::HexTextToBytes(startup::kDefaultMarkerText),
            (Bytes{0x51, 0x58, 0x5F, 0x50, 0x57, 0, 0, 3, 5, 7, 6, 9, 3, 2}));
  EXPECT_EQ(startup::HexTextToBytes("ff 0A 00b a"), (Bytes{0xFF, 0x0A, 0x0B, 0x0A}));
  EXPECT_EQ(startup::HexTextToBytes(""), Bytes{});
  // Every bad piece refuses the whole text: out of range, not hexadecimal, empty between two
  // blanks or at either end, a sign.
  for (const char* bad : {"100", "1 G", "51  58", " 51", "51 ", "-1", "0x5", "FFFFFFFFF1"}) {
    EXPECT_EQ(startup::HexTextToBytes(bad), std::nullopt) << bad;
  }
}

TEST(EntryName, KindsAndPaths) {
  EXPECT_EQ(startup::ClassifyEntryName(L"D:\\x\\y.dll"), EntryNameKind::kDriveLetter);
  EXPECT_EQ(startup::ClassifyEntryName(L"\\\\srv\\share\\y.dll"), EntryNameKind::kNetwork);
  for (const wchar_t* relative : {L"rmevents.exe", L"sub\\deeper\\a.bin", L"\\root.bin", L"C:x",
                                  L"C:/x", L"xy:\\a", L"", L"\\"}) {
    EXPECT_EQ(startup::ClassifyEntryName(relative), EntryNameKind::kRelative) << relative;
  }
  EXPECT_EQ(startup::EntryPath(L"C:\\t\\", L"sub\\a.bin"), L"C:\\t\\sub\\a.bin");
  EXPECT_EQ(startup::EntryPath(L"C:\\t\\", L"D:\\x\\y.dll"), L"D:\\x\\y.dll");
  EXPECT_EQ(startup::EntryPath(L"C:\\t\\", L"\\\\s\\h\\y.dll"), L"\\\\s\\h\\y.dll");
  EXPECT_EQ(startup::WithTrailingBackslash(L"C:\\t"), L"C:\\t\\");
  EXPECT_EQ(startup::WithTrailingBackslash(L"C:\\t\\"), L"C:\\t\\");
  EXPECT_EQ(startup::WithTrailingBackslash(L""), L"");
}

TEST(JoinContainer, DividesBackIntoItsParts) {
  const Bytes image = NoiseBytes(4321, 20);
  const Bytes tool = NoiseBytes(999, 21);
  const pack::Part parts[] = {{image, "Quellin.image.exe"}, {tool, "rmevents.exe"}};
  Bytes container;
  ASSERT_EQ(pack::JoinContainer(parts, DefaultMarker(), container), "");
  const Division division = Divide(container);
  EXPECT_EQ(division.count, 2);
  EXPECT_EQ(division.entries,
            (std::vector<Entry>{{"Quellin.image.exe", image}, {"rmevents.exe", tool}}));
}

TEST(JoinContainer, RefusesContentThatHoldsTheMarker) {
  const Bytes marker = DefaultMarker();
  Bytes image = NoiseBytes(3000, 22);
  image.insert(image.begin() + 1234, marker.begin(), marker.end());
  const Bytes tool = NoiseBytes(500, 23);
  Bytes out{7};
  const pack::Part imageFirst[] = {{image, "Quellin.image.exe"}, {tool, "rmevents.exe"}};
  EXPECT_THAT(pack::JoinContainer(imageFirst, marker, out),
              testing::HasSubstr("\"Quellin.image.exe\" already contains"));
  const pack::Part toolFirst[] = {{tool, "a"}, {image, "rmevents.exe"}};
  EXPECT_THAT(pack::JoinContainer(toolFirst, marker, out), testing::HasSubstr("rmevents.exe"));
  EXPECT_EQ(out, Bytes{7}) << "nothing appended on refusal";

  // A content ending in the start of a marker that overlaps itself would be cut early too.
  const Bytes overlapping = {'A', 'B', 'A'};
  const Bytes endsInPrefix = {'x', 'A', 'B'};
  const pack::Part cut[] = {{endsInPrefix, "a"}};
  EXPECT_NE(pack::JoinContainer(cut, overlapping, out), "");
}

TEST(JoinContainer, NamesThePackerAccepts) {
  EXPECT_EQ(pack::NameProblem("Quellin.image.exe"), "");
  EXPECT_EQ(pack::NameProblem("sub\\dir name\\a.bin"), "");
  EXPECT_NE(pack::NameProblem(""), "");
  EXPECT_NE(pack::NameProblem("\xE6\xB5\x8B.exe"), "") << "UTF-8 Chinese";
  EXPECT_NE(pack::NameProblem("a\tb"), "");
  EXPECT_NE(pack::NameProblem(std::string(0x8000, 'n')), "");
  EXPECT_EQ(pack::NameProblem(std::string(0x7FFF, 'n')), "");
}

}  // namespace
}  // namespace startup_test
