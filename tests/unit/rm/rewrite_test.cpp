// Rewrites compared byte for byte with files built independently from a description: stripping
// (renumbering, INDX remapping, logical streams), merging events into an FFmpeg-shaped film,
// several DATA chunks, and the refusals. Every output must also pass the strict check.
#include <gtest/gtest.h>

#include <algorithm>

#include "rm/byte_order.h"
#include "rm/inspect.h"
#include "rm/replace_events.h"
#include "replace_helper.h"
#include "rm_builder.h"
#include "rm_films.h"

namespace {

using rm::ErrorCode;
using rmtest::Bytes;
using rmtest::FilmLayout;

using rmtest::Outcome;
using rmtest::Replace;

// The first differing byte, for readable failures.
std::string FirstDifference(const Bytes& got, const Bytes& want) {
  std::size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  return "sizes " + std::to_string(got.size()) + "/" + std::to_string(want.size()) +
         ", first difference at " + std::to_string(i);
}

#define EXPECT_SAME_FILE(got, want) EXPECT_TRUE((got) == (want)) << FirstDifference(got, want)

const std::vector<rm::Event> kEvents = {
    {0, 10, rm::kEventUrl, "http://example.com/start"},
    {1, 5, rm::kEventTitle, "Chapter"},
    {2, 3, rm::kEventUrl, "http://example.com/b"},
    {10, 20, rm::kEventCopyright, "(c) us"},
};

// FfmpegFilm with kEvents merged, placed by hand: each event goes before the first packet with a
// later timestamp, so 0 ms before A70, 100 ms before A140, 200 ms before A210, 1000 ms at the
// end. The event stream is indexed and the DATA size exact.
FilmLayout FfmpegFilmWithEvents() {
  FilmLayout f = rmtest::FfmpegFilm();
  f.dataSizePlus18 = false;
  f.streams.push_back(rmtest::Events(2, true, 1000));
  auto event = [](std::uint16_t seq) {
    const rm::Event& e = kEvents[seq];
    return rmtest::PacketLayout{
        2, e.startDs * 100, rmtest::EventPayload(seq, e.startDs, e.endDs, e.type, e.text), 0, 2};
  };
  const auto& p = f.chunks[0];  // V0 A0 A70 V100 A140 V200 A210 V300 A280 V400
  f.chunks[0] = {p[0], p[1],     event(0), p[2], p[3], event(1), p[4],
                 p[5], event(2), p[6],     p[7], p[8], p[9],     event(3)};
  return f;
}

TEST(Rewrite, StripRenumbersAndRemapsEveryReference) {
  const Outcome r = Replace(rmtest::Build(rmtest::EventFilm()));
  ASSERT_TRUE(r.ok) << rm::Describe(r.error);
  EXPECT_SAME_FILE(r.out, rmtest::Build(rmtest::EventFilmStripped()));
  ASSERT_EQ(r.outcome.streams.size(), 4u);
  EXPECT_EQ(r.outcome.streams[1].reason, rm::DropReason::kEventStream);
  EXPECT_EQ(r.outcome.streams[2].newNumber, 1);
  EXPECT_EQ(r.outcome.streams[3].newNumber, 2);
  EXPECT_EQ(r.outcome.result.removedEventCount, 2u);
  ASSERT_EQ(r.outcome.result.removedEvents.size(), 2u);
  EXPECT_EQ(r.outcome.result.removedEvents[1].event.text, "http://example.com/two.html");
}

TEST(Rewrite, OneByteAtATimeWritesTheSameFile) {
  const Bytes in = rmtest::Build(rmtest::EventFilm());
  rmtest::TrickleSource trickle(in);
  rm::MemorySink sink;
  rm::ReplaceOutcome outcome;
  rm::Error error;
  ASSERT_TRUE(rm::ReplaceEvents(trickle, sink, {}, outcome, error)) << rm::Describe(error);
  EXPECT_SAME_FILE(sink.Data(), rmtest::Build(rmtest::EventFilmStripped()));
}

TEST(Rewrite, MergeThenStripGivesTheFfmpegFilmBack) {
  const Bytes film = rmtest::Build(rmtest::FfmpegFilm());
  const Outcome merged = Replace(film, kEvents);
  ASSERT_TRUE(merged.ok) << rm::Describe(merged.error);
  EXPECT_SAME_FILE(merged.out, rmtest::Build(FfmpegFilmWithEvents()));
  EXPECT_EQ(merged.outcome.addedStream, 2);

  const Outcome stripped = Replace(merged.out);
  ASSERT_TRUE(stripped.ok) << rm::Describe(stripped.error);
  FilmLayout exact = rmtest::FfmpegFilm();
  exact.dataSizePlus18 = false;  // the one field FFmpeg gets wrong
  EXPECT_SAME_FILE(stripped.out, rmtest::Build(exact));

  // Replacing merges the new set and drops the old one.
  const Outcome replaced = Replace(merged.out, {kEvents[3]});
  ASSERT_TRUE(replaced.ok);
  EXPECT_EQ(replaced.outcome.result.removedEventCount, 4u);
  rm::MemorySource source(replaced.out);
  rm::FileSummary summary;
  rm::Error error;
  ASSERT_TRUE(rm::Inspect(source, rm::Strictness::kStrict, summary, error));
  ASSERT_EQ(summary.events.size(), 1u);
  EXPECT_EQ(summary.events[0].event, kEvents[3]);
}

TEST(Rewrite, NothingToDoIsAByteForByteCopy) {
  for (const FilmLayout& layout : {rmtest::FfmpegFilm(), rmtest::EventFilmStripped()}) {
    const Bytes film = rmtest::Build(layout);
    const Outcome r = Replace(film);
    ASSERT_TRUE(r.ok) << rm::Describe(r.error);
    EXPECT_TRUE(r.outcome.identicalCopy);
    EXPECT_SAME_FILE(r.out, film);
  }
}

TEST(Rewrite, LogicalStreamsFollowAndEmptiedGroupsGo) {
  using rmtest::Logical;
  using rmtest::LogicalTypeSpecific;
  FilmLayout in = rmtest::EventFilm();
  // 4 groups the events (by MIME), 5 groups only the events under another MIME, 6 groups audio.
  in.streams.push_back(
      Logical(4, "logical-application/x-pn-multirate-realevent", LogicalTypeSpecific({1}, {1})));
  in.streams.push_back(Logical(5, "logical-application/x-custom", LogicalTypeSpecific({1}, {})));
  in.streams.push_back(
      Logical(6, "logical-audio/x-pn-multirate-realaudio", LogicalTypeSpecific({2}, {2, 2})));
  FilmLayout want = rmtest::EventFilmStripped();
  want.streams.push_back(
      Logical(3, "logical-audio/x-pn-multirate-realaudio", LogicalTypeSpecific({1}, {1, 1})));
  // The audio group's data_offsets[0] names the DATA chunk, so it must follow the chunk.
  Bytes inBytes = rmtest::Build(in), wantBytes = rmtest::Build(want);
  for (Bytes* file : {&inBytes, &wantBytes}) {
    const std::string mime = "logical-audio/x-pn-multirate-realaudio";
    const auto at = std::search(file->begin(), file->end(), mime.begin(), mime.end()) +
                    static_cast<long>(mime.size()) + 4 + 8 + 2;
    const std::string data = "DATA";
    const auto dataAt = std::search(file->begin(), file->end(), data.begin(), data.end());
    rm::SetU32(&*at, static_cast<std::uint32_t>(dataAt - file->begin()));
  }
  const Outcome r = Replace(inBytes);
  ASSERT_TRUE(r.ok) << rm::Describe(r.error);
  EXPECT_SAME_FILE(r.out, wantBytes);
  EXPECT_EQ(r.outcome.streams[5].reason, rm::DropReason::kGroupsOnlyDropped);

  FilmLayout mixed = rmtest::EventFilm();
  mixed.streams.push_back(Logical(4, "logical-x/mixed", LogicalTypeSpecific({0, 1}, {})));
  const Outcome refused = Replace(rmtest::Build(mixed));
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.error.code, ErrorCode::kUnsupported);
}

TEST(Rewrite, EventsOnlyDataChunksVanishAndTheChainIsRelinked) {
  FilmLayout in = rmtest::EventFilm();
  in.chunks.insert(in.chunks.begin() + 1,
                   {rmtest::EventPacket(1, 2, 25, 26, "http://example.com/alone")});
  in.chunks.push_back({rmtest::Media(0, 300, 100), rmtest::Media(2, 300, 90)});
  in.chunks.push_back({rmtest::EventPacket(1, 3, 35, 36, "http://example.com/last")});
  in.chunks[0][4].version = 1;  // packet header version 1 is copied as it is
  FilmLayout want = rmtest::EventFilmStripped();
  want.chunks[0][3].version = 1;
  want.chunks.push_back(in.chunks[2]);
  want.chunks.back()[1].stream = 1;
  const Outcome r = Replace(rmtest::Build(in));
  ASSERT_TRUE(r.ok) << rm::Describe(r.error);
  EXPECT_SAME_FILE(r.out, rmtest::Build(want));
  EXPECT_EQ(r.outcome.result.removedEventCount, 4u);
}

TEST(Rewrite, QuirkyInputsGiveExactOutputs) {
  FilmLayout in = rmtest::EventFilm();
  in.unknownCount = true;
  in.indexSize20 = true;
  in.indexUnlinked = true;
  const Outcome r = Replace(rmtest::Build(in));
  ASSERT_TRUE(r.ok) << rm::Describe(r.error);
  EXPECT_SAME_FILE(r.out, rmtest::Build(rmtest::EventFilmStripped()));
}

TEST(Rewrite, RefusesWhatCannotBeWrittenWell) {
  FilmLayout eventsOnly;
  eventsOnly.streams = {rmtest::Events(0)};
  eventsOnly.chunks = {{rmtest::EventPacket(0, 0, 1, 2, "http://x/")}};
  const Outcome none = Replace(rmtest::Build(eventsOnly));
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.error.code, ErrorCode::kNoStreamsLeft);

  FilmLayout dangling = rmtest::EventFilm();
  dangling.streams.push_back(
      rmtest::Logical(4, "logical-x/y", rmtest::LogicalTypeSpecific({7}, {})));
  const Outcome bad = Replace(rmtest::Build(dangling));
  EXPECT_EQ(bad.error.code, ErrorCode::kBadStreamNumber);
}

TEST(Verify, CatchesAWrittenFileThatDisagreesWithThePlan) {
  const Outcome r = Replace(rmtest::Build(rmtest::FfmpegFilm()), kEvents);
  ASSERT_TRUE(r.ok);
  // A changed event text keeps every count right; only comparing the events finds it.
  Bytes damaged = r.out;
  const std::string url = "http://example.com/start";
  auto at = std::search(damaged.begin(), damaged.end(), url.begin(), url.end());
  ASSERT_NE(at, damaged.end());
  *at = 'H';
  rm::MemorySource source(damaged);
  rm::Error error;
  EXPECT_FALSE(rm::VerifyReplacement(source, r.outcome, error));
  EXPECT_EQ(error.code, ErrorCode::kVerifyFailed);

  Bytes wrongCount = r.out;
  wrongCount[18 + 26 + 3] ^= 1;  // PROP.num_packets
  rm::MemorySource source2(wrongCount);
  rm::Error error2;
  EXPECT_FALSE(rm::VerifyReplacement(source2, r.outcome, error2));
  EXPECT_NE(rm::Describe(error2).find("num_packets"), std::string::npos) << rm::Describe(error2);
}

}  // namespace
