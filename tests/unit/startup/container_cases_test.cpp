// The container cases, each fed through the 600-byte block machinery that divides the program's
// own file at start-up.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "container_fixtures.h"

namespace startup_test {
namespace {

using ::testing::ElementsAre;

TEST(DivideStream, ImageAndToolGiveTwoEntries) {
  const Bytes image = NoiseBytes(5000, 1);
  const Bytes tool = NoiseBytes(3000, 2);
  const Bytes container = ContainerBuilder().Add(image, "a.bin").Add(tool, "rmevents.exe").bytes();

  MemorySource source(container);
  RecordingSink sink;
  EXPECT_EQ(startup::DivideStream(source, {}, sink), 2);
  EXPECT_EQ(sink.entries, (std::vector<Entry>{{"a.bin", image}, {"rmevents.exe", tool}}));
  // Whole 600-byte blocks, the last one shorter, each byte read once.
  ASSERT_FALSE(source.reads.empty());
  for (std::size_t i = 0; i + 1 < source.reads.size(); ++i) EXPECT_EQ(source.reads[i], 600u);
  EXPECT_EQ(source.reads.size(), (container.size() + 599) / 600);
  EXPECT_EQ(source.reads.back(), container.size() - (source.reads.size() - 1) * 600);
  // Content goes on as it is read: the image is never held whole.
  EXPECT_LE(sink.largestPiece, 600u + 13u);
}

// Content sizes around a block border move the trailer across it: the marker straddles the
// border, then the name-length bytes, then the name lie partly or wholly in the next block.
TEST(DivideStream, TrailerAcrossBlockBordersIsFound) {
  const Bytes tool = NoiseBytes(700, 3);
  for (std::size_t imageSize : {570u, 580u, 590u, 600u, 1180u}) {
    for (std::size_t shift = 0; shift < 40; ++shift) {
      const Bytes image = NoiseBytes(imageSize + shift, static_cast<unsigned>(shift));
      const Bytes container =
          ContainerBuilder().Add(image, "sub\\image.exe").Add(tool, "rmevents.exe").bytes();
      SCOPED_TRACE(testing::Message() << "trailer at " << image.size());
      const Division division = Divide(container);
      EXPECT_EQ(division.count, 2);
      EXPECT_EQ(division.entries,
                (std::vector<Entry>{{"sub\\image.exe", image}, {"rmevents.exe", tool}}));
    }
  }
}

// Trailers that end where the file ends: part of the marker, the marker exactly, one or both
// name-length bytes, a name one byte short.
TEST(DivideStream, TrailerCutByEndOfFileGivesNoEntry) {
  const Bytes image = NoiseBytes(1000, 4);
  const Bytes marker = DefaultMarker();
  const auto markerThen = [&](const Bytes& rest) {
    Bytes bytes = marker;
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
  };
  const Bytes endings[] = {Bytes(marker.begin(), marker.begin() + 5), marker, markerThen({5}),
                           markerThen({5, 0}), markerThen({5, 0, 'a', 'b', 'c', 'd'})};
  for (const Bytes& ending : endings) {
    const Bytes container = ContainerBuilder().Add(image, "a.bin").Raw(image).Raw(ending).bytes();
    SCOPED_TRACE(testing::Message() << ending.size() << " bytes of trailer");
    const Division division = Divide(container);
    EXPECT_EQ(division.count, 1);
    EXPECT_THAT(division.entries, ElementsAre(Entry{"a.bin", image}));
  }
}

TEST(DivideStream, ZeroLengthEntriesAndTrailingBytes) {
  const Bytes image = NoiseBytes(640, 5);
  Bytes container = ContainerBuilder()
                        .Add(image, "a.bin")
                        .Add({}, "empty.txt")
                        .Add({}, "also-empty.txt")
                        .Add({'x'}, "x.txt")
                        .bytes();
  // Several trailers inside one block, then bytes after the last trailer.
  const Bytes tail = NoiseBytes(900, 6);
  container.insert(container.end(), tail.begin(), tail.end());
  const Division division = Divide(container);
  EXPECT_EQ(division.count, 4);
  EXPECT_EQ(division.entries,
            (std::vector<Entry>{
                {"a.bin", image}, {"empty.txt", {}}, {"also-empty.txt", {}}, {"x.txt", {'x'}}}));
}

TEST(DivideStream, MarkerArgument) {
  const Bytes image = NoiseBytes(1300, 7);
  const Bytes byDefault = ContainerBuilder().Add(image, "a.bin").bytes();
  // Fewer than two bytes: the default marker.
  EXPECT_EQ(Divide(byDefault, {0x51}).count, 1);
  EXPECT_EQ(Divide(byDefault, {}).count, 1);
  // Two bytes or more: exactly that marker, and the default one means nothing then.
  const Bytes custom = {'#', '#', '!'};
  EXPECT_EQ(Divide(byDefault, custom).count, 0);
  const Bytes own = ContainerBuilder(custom).Add(image, "a.bin").Add({1, 2}, "b.bin").bytes();
  const Division division = Divide(own, custom);
  EXPECT_EQ(division.count, 2);
  EXPECT_EQ(division.entries, (std::vector<Entry>{{"a.bin", image}, {"b.bin", {1, 2}}}));
}

TEST(DivideStream, NameLengthHighByte) {
  const Bytes image = NoiseBytes(800, 8);
  const Bytes tool = NoiseBytes(100, 9);
  // 0x7FFF is the longest name there is.
  const std::string longest(0x7FFF, 'n');
  const Division longestName =
      Divide(ContainerBuilder().Add(image, "a.bin").Add(tool, longest).bytes());
  EXPECT_EQ(longestName.count, 2);
  EXPECT_EQ(longestName.entries.back(), (Entry{longest, tool}));

  // A high byte of 0x80 ends the division with 0; what was written before stays written.
  const Bytes bad = ContainerBuilder()
                        .Add(image, "a.bin")
                        .Raw(tool)
                        .Marker()
                        .Raw({0x01, 0x80, 'r', 'm'})
                        .Add(tool, "never.bin")
                        .bytes();
  const Division division = Divide(bad);
  EXPECT_EQ(division.count, 0);
  EXPECT_THAT(division.entries, ElementsAre(Entry{"a.bin", image}));
}

TEST(DivideStream, FailuresEndTheDivisionWithZero) {
  const Bytes container = ContainerBuilder()
                              .Add(NoiseBytes(2000, 10), "a.bin")
                              .Add(NoiseBytes(2000, 11), "b.bin")
                              .bytes();
  {
    MemorySource source(container);
    source.failingRead = 4;  // after the first entry is complete
    RecordingSink sink;
    EXPECT_EQ(startup::DivideStream(source, {}, sink), 0);
    EXPECT_EQ(sink.entries.size(), 1u);
  }
  {
    MemorySource source(container);
    RecordingSink sink;
    sink.failingEnd = 1;
    EXPECT_EQ(startup::DivideStream(source, {}, sink), 0);
    EXPECT_EQ(source.reads.size(), 7u) << "stops at the failed entry";
  }
  {
    MemorySource source(container);
    RecordingSink sink;
    sink.refuseContent = true;
    EXPECT_EQ(startup::DivideStream(source, {}, sink), 0);
    EXPECT_EQ(source.reads.size(), 1u);
  }
  EXPECT_EQ(Divide({}).count, 0);
  EXPECT_EQ(Divide(NoiseBytes(5000, 12)).count, 0) << "no marker";
}

// Many random containers, divided block by block, against splitting the whole text at once.
TEST(DivideStream, AgreesWithWholeFileSplit) {
  std::mt19937 random(20240607);
  for (int round = 0; round < 200; ++round) {
    ContainerBuilder builder;
    std::vector<Entry> expected;
    const int entries = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < entries; ++i) {
      // Mostly short entries so trailers land everywhere within blocks, a few longer ones.
      const std::size_t size = random() % 4 == 0 ? random() % 3000 : random() % 120;
      Entry entry;
      entry.name = "e";
      entry.name += std::to_string(i);
      entry.name.append(random() % 700, 'n');
      entry.content = NoiseBytes(size, static_cast<unsigned>(random()));
      builder.Add(entry.content, entry.name);
      expected.push_back(std::move(entry));
    }
    SCOPED_TRACE(round);
    const Division division = Divide(builder.bytes());
    EXPECT_EQ(division.count, entries);
    EXPECT_EQ(division.entries, expected);
  }
}

}  // namespace
}  // namespace startup_test
