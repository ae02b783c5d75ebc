// Each chunk parser against inline bytes: the fields land where the format puts them, sizes that
// overrun their chunk are caught, and serializing what was parsed gives the same bytes back.
#include <gtest/gtest.h>

#include "rm/byte_cursor.h"
#include "rm/cont.h"
#include "rm/data_chunk.h"
#include "rm/indx.h"
#include "rm/logical_stream.h"
#include "rm/mdpr.h"
#include "rm/packet.h"
#include "rm/prop.h"
#include "rm/rmf_header.h"

namespace {

using rm::Bytes;
using rm::ErrorCode;

rm::ByteCursor Cursor(const Bytes& bytes, rm::Error& error) {
  return rm::ByteCursor(bytes, 1000, error, "test");
}

const Bytes kRmf = {'.', 'R', 'M', 'F', 0, 0, 0, 18, 0, 1, 0, 0, 0, 1, 0, 0, 0, 7};

const Bytes kProp = {'P', 'R', 'O',  'P',  0, 0, 0,    50,   0, 0,  //
                     0,   4,   0x84, 0x40, 0, 4, 0x84, 0x40,        // bit rates
                     0,   0,   0x5F, 0x2F, 0, 0, 7,    0xBD,        // packet sizes
                     0,   0,   1,    0x54, 0, 0, 0x15, 0xC0,        // packets, duration
                     0,   0,   0,    0,    0, 0, 0,    0x99,        // preroll, index offset
                     0,   0,   1,    0x65, 0, 2, 0,    3};          // data offset, streams, flags

Bytes Mdpr(const std::string& name, const std::string& mime, const Bytes& typeSpecific) {
  Bytes b = {'M', 'D', 'P', 'R', 0, 0, 0, 0, 0, 0, 0, 5};
  for (int i = 0; i < 7; ++i) b.insert(b.end(), {0, 0, 0, static_cast<std::uint8_t>(i + 1)});
  b.push_back(static_cast<std::uint8_t>(name.size()));
  b.insert(b.end(), name.begin(), name.end());
  b.push_back(static_cast<std::uint8_t>(mime.size()));
  b.insert(b.end(), mime.begin(), mime.end());
  const auto n = static_cast<std::uint32_t>(typeSpecific.size());
  b.insert(b.end(), {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                     static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
  b.insert(b.end(), typeSpecific.begin(), typeSpecific.end());
  b[7] = static_cast<std::uint8_t>(b.size());
  return b;
}

TEST(ByteCursor, ChildOverrunFailsParentAndKeepsFirstError) {
  const Bytes bytes = {1, 2, 3, 4, 5};
  rm::Error error;
  rm::ByteCursor parent(bytes, 100, error, "parent");
  EXPECT_EQ(parent.U16(), 0x0102);
  rm::ByteCursor child = parent.Child(2, "child");
  EXPECT_EQ(child.U32(), 0u);  // only two bytes inside the child
  EXPECT_FALSE(parent.Ok());
  EXPECT_EQ(error.code, ErrorCode::kOverrun);
  EXPECT_EQ(error.offset, 102u);
  EXPECT_EQ(error.what, "child");
  parent.Fail(ErrorCode::kBadField, "later");
  EXPECT_EQ(error.what, "child") << "the first failure is the one kept";
  EXPECT_TRUE(parent.Take(1).empty()) << "a failed cursor hands out nothing";
}

TEST(RmfHeader, ParsesBothVersionsAndRoundTrips) {
  rm::Error error;
  auto in = Cursor(kRmf, error);
  const rm::RmfHeader rmf = rm::ParseRmfHeader(in);
  ASSERT_TRUE(in.Ok());
  EXPECT_EQ(rmf.objectVersion, 1);
  EXPECT_EQ(rmf.fileVersion, 1u);
  EXPECT_EQ(rmf.numHeaders, 7u);
  EXPECT_EQ(rm::SerializeRmfHeader(rmf), kRmf);

  Bytes v2 = kRmf;
  v2[9] = 2;
  rm::Error e2;
  auto in2 = Cursor(v2, e2);
  (void)rm::ParseRmfHeader(in2);
  EXPECT_EQ(e2.code, ErrorCode::kUnsupported);

  Bytes wrongId = kRmf;
  wrongId[1] = 'X';
  rm::Error e3;
  auto in3 = Cursor(wrongId, e3);
  (void)rm::ParseRmfHeader(in3);
  EXPECT_EQ(e3.code, ErrorCode::kNotRealMedia);
}

TEST(Properties, FieldsAndRoundTrip) {
  rm::Error error;
  auto in = Cursor(kProp, error);
  const rm::Properties p = rm::ParseProperties(in);
  ASSERT_TRUE(in.Ok());
  EXPECT_EQ(p.maxBitRate, 296000u);
  EXPECT_EQ(p.maxPacketSize, 0x5F2Fu);
  EXPECT_EQ(p.avgPacketSize, 0x7BDu);
  EXPECT_EQ(p.numPackets, 0x154u);
  EXPECT_EQ(p.duration, 0x15C0u);
  EXPECT_EQ(p.indexOffset, 0x99u);
  EXPECT_EQ(p.dataOffset, 0x165u);
  EXPECT_EQ(p.numStreams, 2);
  EXPECT_EQ(p.flags, 3);
  EXPECT_EQ(rm::SerializeProperties(p), kProp);

  const Bytes shortProp(kProp.begin(), kProp.begin() + 40);
  rm::Error e2;
  auto in2 = Cursor(shortProp, e2);
  (void)rm::ParseProperties(in2);
  EXPECT_EQ(e2.code, ErrorCode::kOverrun);
}

TEST(MediaProperties, FieldsStringsAndRoundTrip) {
  const Bytes bytes = Mdpr("The Audio Stream", "audio/x-pn-realaudio", {'.', 'r', 'a', 0xFD});
  rm::Error error;
  auto in = Cursor(bytes, error);
  const rm::MediaProperties m = rm::ParseMediaProperties(in);
  ASSERT_TRUE(in.Ok());
  EXPECT_EQ(m.streamNumber, 5);
  EXPECT_EQ(m.maxBitRate, 1u);
  EXPECT_EQ(m.duration, 7u);
  EXPECT_EQ(m.name, "The Audio Stream");
  EXPECT_EQ(m.mime, "audio/x-pn-realaudio");
  EXPECT_EQ(m.typeSpecific, (Bytes{'.', 'r', 'a', 0xFD}));
  EXPECT_EQ(rm::SerializeMediaProperties(m), bytes);
}

TEST(MediaProperties, LengthsThatOverrunTheChunkFail) {
  Bytes typeSpecificTooLong = Mdpr("", "video/x", {1, 2});
  typeSpecificTooLong[typeSpecificTooLong.size() - 3] = 9;  // claims 9 bytes, 2 follow
  Bytes mimeTooLong = Mdpr("", "video/x", {});
  mimeTooLong[41] = 200;
  for (const Bytes& bytes : {typeSpecificTooLong, mimeTooLong}) {
    rm::Error error;
    auto in = Cursor(bytes, error);
    (void)rm::ParseMediaProperties(in);
    EXPECT_EQ(error.code, ErrorCode::kOverrun);
  }
}

TEST(MimeTypes, EventsImageMapsAndLogicalStreams) {
  for (const char* mime :
       {"application/x-pn-realevent", "application/x-pn-realevent-encrypted",
        "application/x-pn-multirate-realevent", "logical-application/x-pn-multirate-realevent",
        "logical-application/x-pn-multirate-realevent-encrypted"}) {
    EXPECT_TRUE(rm::IsEventMime(mime)) << mime;
  }
  for (const char* mime :
       {"application/x-pn-imagemap", "syncMM/x-pn-realvideo", "video/x-pn-realvideo",
        "logical-fileinfo", "application/x-pn-realevents", "-encrypted"}) {
    EXPECT_FALSE(rm::IsEventMime(mime)) << mime;
  }
  EXPECT_TRUE(rm::IsImageMapMime("logical-application/x-pn-multirate-imagemap-encrypted"));
  EXPECT_TRUE(rm::IsImageMapMime("image_map/x-pn-realvideo"));
  EXPECT_TRUE(rm::IsLogicalMime("logical-fileinfo"));
  EXPECT_FALSE(rm::IsLogicalMime("video/x-pn-multirate-realvideo"));
}

TEST(ContentDescription, StringsMustFitTheChunk) {
  const Bytes bytes = {'C', 'O', 'N', 'T', 0, 0,   0, 22, 0,    0, 0,
                       2,   'T', 'i', 0,   1, 'A', 0, 1,  0xA9, 0, 0};
  rm::Error error;
  auto in = Cursor(bytes, error);
  const rm::ContentDescription c = rm::ParseContentDescription(in);
  ASSERT_TRUE(in.Ok()) << rm::Describe(error);
  EXPECT_EQ(c.title, "Ti");
  EXPECT_EQ(c.author, "A");
  EXPECT_EQ(c.copyright, "\xA9");
  EXPECT_EQ(c.comment, "");
  Bytes overrun = bytes;
  overrun[11] = 50;
  rm::Error e2;
  auto in2 = Cursor(overrun, e2);
  (void)rm::ParseContentDescription(in2);
  EXPECT_EQ(e2.code, ErrorCode::kOverrun);
}

TEST(PacketHeader, VersionsLengthsAndStreamPatch) {
  Bytes v0 = {0, 0, 0, 20, 0, 3, 0, 0, 1, 0, 0, 2};
  rm::PacketHeader h;
  ASSERT_EQ(rm::ParsePacketHeader(v0, h), rm::PacketCheck::kOk);
  EXPECT_EQ(h.HeaderSize(), 12u);
  EXPECT_EQ(h.PayloadSize(), 8u);
  EXPECT_EQ(h.stream, 3);
  EXPECT_EQ(h.timestamp, 256u);
  EXPECT_EQ(h.flags, 2);
  rm::SetPacketStream(v0.data(), 0x0102);
  EXPECT_EQ(v0[4], 1);
  EXPECT_EQ(v0[5], 2);

  const Bytes v1 = {0, 1, 0, 13, 0, 1, 0, 0, 0, 9, 0, 5, 2};
  ASSERT_EQ(rm::ParsePacketHeader(v1, h), rm::PacketCheck::kOk);
  EXPECT_EQ(h.HeaderSize(), 13u);
  EXPECT_EQ(h.PayloadSize(), 0u);
  EXPECT_EQ(h.flags, 2);
  EXPECT_EQ(rm::ParsePacketHeader(std::span(v1).first(12), h), rm::PacketCheck::kNeedMore);
  const Bytes v7 = {0, 7, 0, 13, 0, 1, 0, 0, 0, 9, 0, 5, 2};
  EXPECT_EQ(rm::ParsePacketHeader(v7, h), rm::PacketCheck::kBadVersion);
  const Bytes tooShort = {0, 0, 0, 11, 0, 1, 0, 0, 0, 9, 0, 5};
  EXPECT_EQ(rm::ParsePacketHeader(tooShort, h), rm::PacketCheck::kBadLength);
}

TEST(DataAndIndexHeaders, FieldsAndWrongIds) {
  const Bytes data = rm::SerializeDataHeader(0x1234, 3, 0x99);
  rm::Error error;
  auto in = Cursor(data, error);
  const rm::DataHeader d = rm::ParseDataHeader(in);
  ASSERT_TRUE(in.Ok());
  EXPECT_EQ(d.size, 0x1234u);
  EXPECT_EQ(d.numPackets, 3u);
  EXPECT_EQ(d.nextDataHeader, 0x99u);

  const Bytes indx = rm::SerializeIndexHeader(2, 7, 0x55);
  auto in2 = Cursor(indx, error);
  const rm::IndexHeader x = rm::ParseIndexHeader(in2);
  ASSERT_TRUE(in2.Ok());
  EXPECT_EQ(x.size, 48u);
  EXPECT_EQ(x.Extent(), 48u);
  EXPECT_EQ(x.stream, 7);
  EXPECT_EQ(x.nextIndexHeader, 0x55u);

  Bytes record;
  rm::PutIndexRecord(record, {0, 1000, 0x400, 12});
  auto in3 = Cursor(record, error);
  const rm::IndexRecord r = rm::ParseIndexRecord(in3);
  EXPECT_EQ(r.timestamp, 1000u);
  EXPECT_EQ(r.offset, 0x400u);
  EXPECT_EQ(r.packetNumber, 12u);

  rm::Error e2;
  auto notData = Cursor(indx, e2);
  (void)rm::ParseDataHeader(notData);
  EXPECT_EQ(e2.code, ErrorCode::kBadChain);
}

TEST(LogicalStream, ListsAreFoundRenumberedAndCountsChecked) {
  // Two physical streams (5, 9), data offsets, three rules, then a property we do not touch.
  Bytes ts = {0, 0, 0, 0, 0, 0, 0, 2, 0, 5, 0, 9, 0, 0, 1,    0,
              0, 0, 0, 0, 0, 3, 0, 9, 0, 5, 0, 9, 0, 1, 0xEE, 0xEE};
  rm::LogicalStream ls;
  rm::Error error;
  ASSERT_TRUE(rm::ParseLogicalStream(ts, 0, ls, error)) << rm::Describe(error);
  EXPECT_EQ(ls.physicalStreams, (std::vector<std::uint16_t>{5, 9}));
  EXPECT_EQ(ls.dataOffsets, (std::vector<std::uint32_t>{256, 0}));
  EXPECT_EQ(ls.ruleStreams, (std::vector<std::uint16_t>{9, 5, 9}));
  ls.physicalStreams = {1, 2};
  ls.ruleStreams = {2, 1, 2};
  ls.dataOffsets = {0x11223344, 0};
  const Bytes before = ts;
  rm::StoreLogicalStream(ls, ts);
  EXPECT_EQ(ts[9], 1);
  EXPECT_EQ(ts[11], 2);
  EXPECT_EQ(ts[12], 0x11);
  EXPECT_EQ(ts[23], 2);
  EXPECT_EQ(ts[25], 1);
  EXPECT_EQ(Bytes(ts.end() - 4, ts.end()), Bytes(before.end() - 4, before.end()));

  Bytes huge = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 1};
  rm::Error e2;
  EXPECT_FALSE(rm::ParseLogicalStream(huge, 0, ls, e2));
  EXPECT_EQ(e2.code, ErrorCode::kOverrun);
}

}  // namespace
