// Reading whole files: what Inspect reports, the writer quirks it accepts, the damage it refuses
// (with the right error), and that a source delivering one byte per read changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "rm/byte_order.h"
#include "rm/headers.h"
#include "rm/inspect.h"
#include "rm_builder.h"
#include "rm_films.h"

namespace {

using rm::ErrorCode;
using rm::Strictness;
using rmtest::Bytes;
using rmtest::FilmLayout;

struct Result {
  bool ok = false;
  rm::FileSummary summary;
  rm::Error error;
};

Result InspectBytes(const Bytes& bytes, Strictness strictness = Strictness::kTolerant) {
  Result r;
  rm::MemorySource source(bytes);
  r.ok = rm::Inspect(source, strictness, r.summary, r.error);
  EXPECT_EQ(r.ok, r.error.Ok());
  return r;
}

// Offset of the n-th chunk with this id (scans for the id bytes; fine for these small films).
std::size_t Find(const Bytes& bytes, const char* id, int n = 0) {
  for (std::size_t i = 0; i + 4 <= bytes.size(); ++i) {
    if (std::memcmp(bytes.data() + i, id, 4) == 0 && n-- == 0) return i;
  }
  ADD_FAILURE() << "no " << id;
  return 0;
}

void Put32(Bytes& bytes, std::size_t at, std::uint32_t v) { rm::SetU32(bytes.data() + at, v); }
void Put16(Bytes& bytes, std::size_t at, std::uint16_t v) { rm::SetU16(bytes.data() + at, v); }

TEST(Inspect, CountsStreamsPacketsIndexAndEvents) {
  const Bytes film = rmtest::Build(rmtest::EventFilm());
  const Result r = InspectBytes(film, Strictness::kStrict);
  ASSERT_TRUE(r.ok) << rm::Describe(r.error);
  EXPECT_EQ(r.summary.fileSize, film.size());
  ASSERT_EQ(r.summary.streams.size(), 4u);
  EXPECT_EQ(r.summary.streams[0].packets, 3u);
  EXPECT_EQ(r.summary.streams[1].packets, 2u);
  EXPECT_EQ(r.summary.streams[2].packets, 4u);
  EXPECT_EQ(r.summary.streams[3].packets, 0u);
  EXPECT_EQ(r.summary.streams[2].payloadBytes, 400u);
  EXPECT_EQ(r.summary.packets, 9u);
  EXPECT_EQ(r.summary.indexChunks, 4u);
  EXPECT_EQ(r.summary.indexRecords, 9u);
  ASSERT_EQ(r.summary.events.size(), 2u);
  EXPECT_TRUE(r.summary.events[1].parsed);
  EXPECT_EQ(r.summary.events[1].event,
            (rm::Event{2, 30, rm::kEventUrl, "http://example.com/two.html"}));
}

TEST(Inspect, OneByteAtATimeReadsTheSame) {
  FilmLayout layout = rmtest::EventFilm();
  layout.chunks.push_back({rmtest::Media(0, 300, 70000 % 60000)});  // a second chunk, a big packet
  layout.chunks[0][4].version = 1;
  const Bytes film = rmtest::Build(layout);
  rmtest::TrickleSource trickle(film);
  rm::FileSummary slow;
  rm::Error error;
  ASSERT_TRUE(rm::Inspect(trickle, Strictness::kStrict, slow, error)) << rm::Describe(error);
  const Result fast = InspectBytes(film, Strictness::kStrict);
  ASSERT_TRUE(fast.ok);
  EXPECT_EQ(slow.packets, fast.summary.packets);
  EXPECT_EQ(slow.dataChunks, 2u);
  EXPECT_EQ(slow.indexRecords, fast.summary.indexRecords);
  EXPECT_EQ(slow.streams[0].payloadBytes, fast.summary.streams[0].payloadBytes);
  ASSERT_EQ(slow.events.size(), 2u);
  EXPECT_EQ(slow.events[0].event, fast.summary.events[0].event);
}

TEST(Inspect, WriterQuirksAreReadButNotPassedAsOurOwn) {
  struct Quirk {
    const char* name;
    void (*apply)(FilmLayout&);
  } quirks[] = {
      {"FFmpeg DATA size", [](FilmLayout& f) { f.dataSizePlus18 = true; }},
      {"packet count 0", [](FilmLayout& f) { f.unknownCount = true; }},
      {"INDX size 20", [](FilmLayout& f) { f.indexSize20 = true; }},
      {"INDX nobody points at", [](FilmLayout& f) { f.indexUnlinked = true; }},
  };
  for (const Quirk& q : quirks) {
    FilmLayout layout = rmtest::EventFilm();
    layout.tail.clear();
    q.apply(layout);
    const Bytes film = rmtest::Build(layout);
    const Result tolerant = InspectBytes(film);
    EXPECT_TRUE(tolerant.ok) << q.name << ": " << rm::Describe(tolerant.error);
    EXPECT_EQ(tolerant.summary.packets, 9u) << q.name;
    EXPECT_FALSE(InspectBytes(film, Strictness::kStrict).ok) << q.name;
  }
  const Result ffmpeg = InspectBytes(rmtest::Build(rmtest::FfmpegFilm()));
  EXPECT_TRUE(ffmpeg.ok) << rm::Describe(ffmpeg.error);
}

TEST(Inspect, RecordsOfAnIndexNobodyPointsAtAreStillChecked) {
  FilmLayout layout = rmtest::EventFilm();
  layout.indexUnlinked = true;
  Bytes film = rmtest::Build(layout);
  ASSERT_TRUE(InspectBytes(film).ok);
  const std::size_t indx = Find(film, "INDX");
  Put32(film, indx + 20 + 10, 7);  // first video record: wrong packet ordinal
  const Result r = InspectBytes(film);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error.code, ErrorCode::kBadIndex) << rm::Describe(r.error);
}

TEST(Inspect, EveryTruncationIsRefused) {
  FilmLayout layout = rmtest::EventFilm();
  layout.tail.clear();  // without a tail, no shorter prefix is a whole file
  const Bytes film = rmtest::Build(layout);
  for (std::size_t size = 0; size < film.size(); ++size) {
    const Result r = InspectBytes(Bytes(film.begin(), film.begin() + static_cast<long>(size)));
    EXPECT_FALSE(r.ok) << "prefix of " << size << " bytes";
  }
}

// Each case damages a well-formed film in one place and names the error it must give.
TEST(Inspect, DamageIsRefusedWithTheRightError) {
  const Bytes good = rmtest::Build(rmtest::EventFilm());
  const std::size_t data = Find(good, "DATA"), indx = Find(good, "INDX"), prop = Find(good, "PROP");
  const std::size_t firstPacket = data + 18, mdpr = Find(good, "MDPR", 1);
  struct Case {
    const char* name;
    std::function<void(Bytes&)> damage;
    ErrorCode expected;
  } cases[] = {
      {"not RealMedia", [](Bytes& b) { b[0] = 'X'; }, ErrorCode::kNotRealMedia},
      {".RMF size beyond the file", [](Bytes& b) { Put32(b, 4, 0x7FFFFFFF); }, ErrorCode::kOverrun},
      {"header chunk of size 0", [&](Bytes& b) { Put32(b, prop + 4, 0); }, ErrorCode::kBadField},
      {"MDPR size beyond the file", [&](Bytes& b) { Put32(b, mdpr + 4, 0x7FFFFFF0); },
       ErrorCode::kOverrun},
      {"MDPR size too large to load",
       [&](Bytes& b) {
         Put32(b, mdpr + 4, 5u << 20);
         b.resize(6u << 20);
       },
       ErrorCode::kTooLarge},
      {"MDPR name past its chunk", [&](Bytes& b) { b[mdpr + 40] = 0xFF; }, ErrorCode::kOverrun},
      {"stream number twice", [&](Bytes& b) { Put16(b, mdpr + 10, 0); },
       ErrorCode::kBadStreamNumber},
      {"no PROP", [&](Bytes& b) { std::memcpy(b.data() + prop, "PROQ", 4); },
       ErrorCode::kMissingChunk},
      {"absurd packet count", [&](Bytes& b) { Put32(b, data + 10, 0xFFFFFFFF); },
       ErrorCode::kBadPacket},
      {"packet count beyond the file",
       [&](Bytes& b) {
         Put32(b, data + 10, 10);
         Put32(b, data + 4, 0xFFFFFF);
       },
       ErrorCode::kBadPacket},
      {"DATA links to itself",
       [&](Bytes& b) { Put32(b, data + 14, static_cast<std::uint32_t>(data)); },
       ErrorCode::kBadChain},
      {"DATA links backwards", [&](Bytes& b) { Put32(b, data + 14, 18); }, ErrorCode::kBadChain},
      {"DATA size too small", [&](Bytes& b) { Put32(b, data + 4, 100); }, ErrorCode::kOverrun},
      {"DATA size far too large", [&](Bytes& b) { Put32(b, data + 4, 100000); },
       ErrorCode::kBadField},
      {"packet version 7", [&](Bytes& b) { Put16(b, firstPacket, 7); }, ErrorCode::kBadPacket},
      {"packet shorter than its header", [&](Bytes& b) { Put16(b, firstPacket + 2, 5); },
       ErrorCode::kBadPacket},
      {"packet of an unknown stream", [&](Bytes& b) { Put16(b, firstPacket + 4, 9); },
       ErrorCode::kBadStreamNumber},
      {"index_offset into nowhere",
       [&](Bytes& b) { Put32(b, prop + 38, static_cast<std::uint32_t>(firstPacket)); },
       ErrorCode::kBadChain},
      {"INDX links to itself",
       [&](Bytes& b) { Put32(b, indx + 16, static_cast<std::uint32_t>(indx)); },
       ErrorCode::kBadChain},
      {"absurd INDX count", [&](Bytes& b) { Put32(b, indx + 10, 0x10000000); },
       ErrorCode::kOverrun},
      {"INDX of an unknown stream", [&](Bytes& b) { Put16(b, indx + 14, 9); },
       ErrorCode::kBadStreamNumber},
      {"index record off its packet",
       [&](Bytes& b) { Put32(b, indx + 20 + 6, static_cast<std::uint32_t>(firstPacket + 1)); },
       ErrorCode::kBadIndex},
      {"index record with a wrong ordinal", [&](Bytes& b) { Put32(b, indx + 20 + 10, 5); },
       ErrorCode::kBadIndex},
      {"index record of another stream's packet",
       [&](Bytes& b) { Put32(b, indx + 20 + 6, static_cast<std::uint32_t>(firstPacket + 312)); },
       ErrorCode::kBadIndex},
  };
  for (const Case& c : cases) {
    Bytes bad = good;
    c.damage(bad);
    const Result r = InspectBytes(bad);
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_EQ(r.error.code, c.expected) << c.name << ": " << rm::Describe(r.error);
  }
}

TEST(Inspect, TooManyHeaderChunksAndStreamsAreRefused) {
  FilmLayout layout = rmtest::FfmpegFilm();
  for (std::uint16_t n = 2; n < rm::kMaxStreams + 1; ++n) {
    layout.streams.push_back(rmtest::Audio(n, false));
  }
  const Result r = InspectBytes(rmtest::Build(layout));
  EXPECT_EQ(r.error.code, ErrorCode::kTooLarge);
}

}  // namespace
