// Films the rewrite repairs instead of refusing: cut short at every byte of the data and the
// index, an index that does not match its packets, a DATA chunk that does not count its packets.
// Every output must pass the strict check (Replace verifies it), carry no events, and hold the
// input's packets unchanged.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "rm/headers.h"
#include "rm/inspect.h"
#include "rm/output_check.h"
#include "rm/replace_events.h"
#include "rm/walker.h"
#include "replace_helper.h"
#include "rm_builder.h"
#include "rm_films.h"

namespace {

using rmtest::Bytes;
using rmtest::FilmLayout;

using rmtest::Outcome;
using rmtest::Replace;

// Every packet of a file as the tolerant reader sees it, with where it ends.
struct Packets : rm::DataVisitor {
  std::vector<Bytes> bytes;
  std::vector<std::uint64_t> ends;
  void OnPacket(const rm::PacketView& p) override {
    bytes.emplace_back(p.bytes.begin(), p.bytes.end());
    ends.push_back(p.offset + p.bytes.size());
  }
};

Packets ReadPackets(const Bytes& file) {
  rm::MemorySource source(file);
  rm::Headers headers;
  rm::Error error;
  Packets packets;
  EXPECT_TRUE(rm::ReadHeaders(source, headers, error) &&
              rm::WalkData(source, headers, packets, rm::Strictness::kTolerant, error))
      << rm::Describe(error);
  return packets;
}

std::uint64_t IndexOffset(const Bytes& file) { return rm::GetU32(&file[18 + 38]); }

TEST(Repair, FilmCutAtEveryByteOfItsDataAndIndexKeepsEveryCompletePacket) {
  const Bytes film = rmtest::Build(rmtest::EventFilm());
  const Packets original = ReadPackets(film);
  const Packets stripped = ReadPackets(rmtest::Build(rmtest::EventFilmStripped()));
  rm::MemorySource source(film);
  rm::Headers headers;
  rm::Error error;
  ASSERT_TRUE(rm::ReadHeaders(source, headers, error));
  const std::size_t indexEnd = film.size() - rmtest::EventFilm().tail.size();
  for (std::size_t size = headers.firstDataOffset; size < indexEnd; ++size) {
    SCOPED_TRACE("cut at " + std::to_string(size));
    const Outcome r = Replace(Bytes(film.begin(), film.begin() + static_cast<long>(size)));
    std::size_t complete = 0;
    while (complete < original.ends.size() && original.ends[complete] <= size) ++complete;
    if (complete == 0) {
      EXPECT_FALSE(r.ok);  // nothing to keep: refused as before
      EXPECT_EQ(r.error.code, rm::ErrorCode::kTruncated);
      continue;
    }
    ASSERT_TRUE(r.ok) << rm::Describe(r.error);
    const rm::WalkRepair& repair = r.outcome.result.repair;
    EXPECT_TRUE(repair.cut);
    EXPECT_EQ(repair.cutAt, size);
    EXPECT_EQ(repair.keptPackets, complete);
    const Packets kept = ReadPackets(r.out);
    ASSERT_LE(kept.bytes.size(), stripped.bytes.size());
    for (std::size_t i = 0; i < kept.bytes.size(); ++i) EXPECT_EQ(kept.bytes[i], stripped.bytes[i]);
    const std::size_t eventsKept = complete > 6 ? 2 : complete > 2 ? 1 : 0;
    EXPECT_EQ(kept.bytes.size(), complete - eventsKept);
    EXPECT_EQ(r.outcome.result.removedEventCount, eventsKept);
    // An index the output points at, rebuilt from what was kept.
    EXPECT_NE(IndexOffset(r.out), 0u);
  }
}

TEST(Repair, DamageBeforeTheEndIsStillRefused) {
  const Bytes film = rmtest::Build(rmtest::EventFilm());
  rm::MemorySource source(film);
  rm::Headers headers;
  rm::Error error;
  ASSERT_TRUE(rm::ReadHeaders(source, headers, error));
  // The third packet's version turns to garbage with the rest of the film still there.
  Bytes damaged = film;
  const Packets packets = ReadPackets(film);
  damaged[packets.ends[1]] = 7;
  EXPECT_EQ(Replace(damaged).error.code, rm::ErrorCode::kBadPacket);
  // Cut inside the headers: nothing to keep.
  const Bytes headersOnly(film.begin(), film.begin() + static_cast<long>(headers.firstDataOffset));
  EXPECT_FALSE(Replace(headersOnly).ok);
  // A complete film whose index link points past its end.
  Bytes farIndex = film;
  rm::SetU32(&farIndex[18 + 38], static_cast<std::uint32_t>(film.size() + 100));
  const Outcome far = Replace(farIndex);
  EXPECT_EQ(far.error.code, rm::ErrorCode::kBadChain) << rm::Describe(far.error);
}

TEST(Repair, IndexThatMissesItsPacketsIsRebuiltFromThem) {
  // EventFilm indexes every packet, so a rebuilt index at the original's density is the one the
  // strip writes from a good index.
  const Bytes film = rmtest::Build(rmtest::EventFilm());
  const Bytes want = rmtest::Build(rmtest::EventFilmStripped());
  const std::size_t video = IndexOffset(film);
  const std::size_t record = video + 20 + 14;  // the video stream's second record
  auto missing = [&](Bytes& f) { rm::SetU32(&f[video + 10], rm::GetU32(&f[video + 10]) + 1); };
  auto extra = [&](Bytes& f) { rm::SetU32(&f[record + 6], static_cast<std::uint32_t>(video)); };
  auto shifted = [&](Bytes& f) { rm::SetU32(&f[record + 6], rm::GetU32(&f[record + 6]) + 1); };
  const std::vector<std::function<void(Bytes&)>> damages = {missing, extra, shifted};
  for (const auto& damage : damages) {
    Bytes in = film;
    damage(in);
    const Outcome r = Replace(in);
    ASSERT_TRUE(r.ok) << rm::Describe(r.error);
    EXPECT_TRUE(r.outcome.result.repair.indexRebuilt);
    EXPECT_FALSE(r.outcome.result.repair.cut);
    EXPECT_EQ(r.out, want);
  }
  const Outcome good = Replace(film);
  EXPECT_FALSE(good.outcome.result.repair.indexRebuilt);
}

TEST(Repair, UncountedDataIsWalkedByItsSize) {
  // No index, no packet count, and a tail that reads like one more packet of stream 0: only
  // DATA.size tells where the packets end.
  FilmLayout f = rmtest::FfmpegFilm();
  f.dataSizePlus18 = false;
  f.unknownCount = true;
  f.streams.push_back(rmtest::Events(2, false));
  f.chunks[0].insert(f.chunks[0].begin() + 3, rmtest::EventPacket(2, 0, 1, 5, "http://a/"));
  f.chunks[0].push_back(rmtest::EventPacket(2, 1, 9, 12, "http://b/"));
  f.tail = {0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 2};
  const Outcome r = Replace(rmtest::Build(f));
  ASSERT_TRUE(r.ok) << rm::Describe(r.error);
  EXPECT_EQ(r.outcome.result.removedEventCount, 2u);
  EXPECT_EQ(r.outcome.result.packetsWritten, 10u);
  EXPECT_TRUE(std::equal(f.tail.begin(), f.tail.end(), r.out.end() - 12));

  // DATA.size 0 as well: packets are read while they look like packets.
  Bytes sizeless = rmtest::Build(f);
  rm::SetU32(&sizeless[rm::GetU32(&sizeless[18 + 42]) + 4], 0);
  f.tail.clear();
  const Outcome plausible = Replace(sizeless);
  ASSERT_TRUE(plausible.ok) << rm::Describe(plausible.error);
  EXPECT_EQ(plausible.outcome.result.removedEventCount, 2u);
}

}  // namespace

namespace {

// The check made while writing, fed a whole file at once as a writer that knows every count up
// front would hand it over, and told it reached the file at `writtenAt` (0: where it belongs).
// `offset` in `marks`: packets the index is announced to name. With `read`, the payloads pass
// through the check, which digests them in order against those payloads.
bool CheckStream(const Bytes& file, const std::vector<std::uint64_t>& marks,
                 const std::vector<Bytes>* read = nullptr,
                 rm::PayloadDigest::Kernel kernel = rm::PayloadDigest::Kernel::kFastest,
                 std::uint64_t writtenAt = 0) {
  rm::OutputCheck check(kernel);
  for (std::uint64_t m : marks) check.ExpectIndexed(m, rm::IndexSource::kTranslated);
  if (read != nullptr) {
    for (const Bytes& packet : *read) check.NoteReadPayload(std::span(packet).subspan(12));
  }
  check.Append(file, read != nullptr);
  check.Written(writtenAt, file.size());
  rm::FileSummary summary;
  rm::Error error;
  return check.Finish(summary, error);
}

TEST(OutputCheck, FindsWhatReadingBackWouldFind) {
  const Bytes film = rmtest::Build(rmtest::EventFilmStripped());
  // Every packet is indexed (EventFilm's streams index all their packets; fileinfo has none).
  const Packets packets = ReadPackets(film);
  std::vector<std::uint64_t> starts;
  for (std::size_t i = 0; i < packets.ends.size(); ++i) {
    starts.push_back(packets.ends[i] - packets.bytes[i].size());
  }
  EXPECT_TRUE(CheckStream(film, starts));
  EXPECT_TRUE(CheckStream(film, starts, &packets.bytes));
  std::vector<Bytes> changed = packets.bytes;
  changed[3].back() ^= 0x40;
  EXPECT_FALSE(CheckStream(film, starts, &changed));
  // Also where the sum takes sixteen bytes at a time.
  const auto largest =
      std::max_element(packets.bytes.begin(), packets.bytes.end(),
                       [](const Bytes& a, const Bytes& b) { return a.size() < b.size(); });
  ASSERT_GE(largest->size(), 12u + 64u);
  changed = packets.bytes;
  changed[static_cast<std::size_t>(largest - packets.bytes.begin())][12 + 5] ^= 0x01;
  EXPECT_FALSE(CheckStream(film, starts, &changed));
  // The same verdicts where the processor's CRC instruction is not used.
  constexpr auto kPortable = rm::PayloadDigest::Kernel::kPortable;
  EXPECT_TRUE(CheckStream(film, starts, &packets.bytes, kPortable));
  EXPECT_FALSE(CheckStream(film, starts, &changed, kPortable));

  // Two payloads of equal length swapped in the output: every byte and every length is still
  // there, only in the wrong packets.
  std::size_t a = 0, b = 0;
  for (std::size_t i = 0; i < packets.bytes.size() && b == 0; ++i) {
    for (std::size_t j = i + 1; j < packets.bytes.size() && b == 0; ++j) {
      if (packets.bytes[i].size() == packets.bytes[j].size() &&
          !std::equal(packets.bytes[i].begin() + 12, packets.bytes[i].end(),
                      packets.bytes[j].begin() + 12)) {
        a = i, b = j;
      }
    }
  }
  ASSERT_NE(b, 0u) << "no two payloads of equal length";
  Bytes swapped = film;
  std::swap_ranges(swapped.begin() + static_cast<long>(starts[a] + 12),
                   swapped.begin() + static_cast<long>(packets.ends[a]),
                   swapped.begin() + static_cast<long>(starts[b] + 12));
  EXPECT_FALSE(CheckStream(swapped, starts, &packets.bytes));
  EXPECT_FALSE(CheckStream(swapped, starts, &packets.bytes, kPortable));
  // Bytes that reached the file anywhere but where the check parsed them.
  EXPECT_FALSE(CheckStream(film, starts, &packets.bytes, rm::PayloadDigest::Kernel::kFastest, 1));

  std::vector<std::uint64_t> shifted = starts;
  shifted[2] += 1;  // the index would name a byte inside a packet
  EXPECT_FALSE(CheckStream(film, shifted));
  EXPECT_FALSE(CheckStream(film, {starts.begin(), starts.end() - 1}));  // a record too many

  Bytes badStream = film;
  rm::SetU16(&badStream[starts[1] + 4], 7);
  EXPECT_FALSE(CheckStream(badStream, starts));
  Bytes badCount = film;
  const std::size_t data = rm::GetU32(&film[18 + 42]);
  rm::SetU32(&badCount[data + 10], rm::GetU32(&film[data + 10]) - 1);
  EXPECT_FALSE(CheckStream(badCount, starts));
  Bytes badProp = film;
  rm::SetU32(&badProp[18 + 26], rm::GetU32(&film[18 + 26]) + 1);  // PROP.num_packets
  EXPECT_FALSE(CheckStream(badProp, starts));
}

}  // namespace

namespace {

// The table loop stands in for the CRC instruction on processors without it (and in the i686
// build, which assumes no SSE at all): both must give the same digest for any split of any
// payloads, including payloads far longer than a table step or a lane's round.
TEST(PayloadDigest, PortableLoopMatchesTheFastOne) {
  const std::uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(rm::Crc32cPortable(0xFFFFFFFFu, check) ^ 0xFFFFFFFFu, 0xE3069283u);  // CRC-32C's own

  std::mt19937_64 random(23);
  rm::PayloadDigest fast, portable(rm::PayloadDigest::Kernel::kPortable);
  EXPECT_FALSE(portable.Fast());
#if defined(__x86_64__) || defined(_M_X64)
  EXPECT_TRUE(fast.Fast()) << "this machine's processor has SSE4.2: the instruction must be used";
#endif
  for (std::size_t size : {0, 1, 7, 8, 9, 23, 24, 25, 4096, 70000, 1 << 20}) {
    Bytes payload(size);
    for (auto& byte : payload) byte = static_cast<std::uint8_t>(random());
    // Split at random places, differently for the two.
    for (rm::PayloadDigest* d : {&fast, &portable}) {
      for (std::size_t at = 0; at < size;) {
        const std::size_t n = std::min<std::size_t>(size - at, random() % (size / 8 + 40));
        d->Add(std::span(payload).subspan(at, n));
        at += n;
      }
      d->EndPayload();
    }
    EXPECT_EQ(fast.Value(), portable.Value()) << size;
  }
  EXPECT_EQ(fast.Bytes(), portable.Bytes());

  // The order of the payloads counts.
  rm::PayloadDigest ab, ba;
  const Bytes x(16, 1), y(16, 2);
  ab.Add(x), ab.EndPayload(), ab.Add(y), ab.EndPayload();
  ba.Add(y), ba.EndPayload(), ba.Add(x), ba.EndPayload();
  EXPECT_NE(ab.Value(), ba.Value());
}

}  // namespace
