#include <gtest/gtest.h>

#include <cmath>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"

namespace {

ResourceDataRecord SampleResource() {
  ResourceDataRecord r;
  r.resourceId = 0x10203;
  r.module = u"glimres.dll";
  r.bytes = Bytes({9, 8, 7, 0, 6});
  r.path = u"C:\\pics\\a.png";
  return r;
}

// Every primitive written by the writing stream reads back unchanged, in both source modes.
TEST(WriterRoundTrip, EveryPrimitiveReadsBack) {
  const zkw_string longText(70000, u'\u00E9');
  FileDataRecord file;
  file.path = u"f.bin";
  file.bytes = Bytes({1, 2, 3});
  const GUID guid = GUID::Parse(u"{01234567-89AB-CDEF-0123-456789ABCDEF}");

  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive out(std::move(writer));
  w.WriteResourceRecord(SampleResource());
  w.WriteFileData(file);
  w.WriteWideString(u"name");
  w.WriteWideString(zkw_string(300, u'q'));
  w.WriteWideString(longText);
  w.WriteInt64(-1234567890123LL);
  w.WriteFloat(-2.5f);
  w.WriteInt32Pair({-7, 9});
  w.WriteDword(0xDEADBEEF);
  w.WriteInt16(-300);
  w.WriteUInt32(4000000000u);
  w.WriteByte(0xAB);
  w.WriteBool(true);
  w.WriteInt32(-42);
  w.WriteBytes(3, "xyz");
  w.WriteInt64(int64_t{-1});
  out.WriteGuid(guid);
  const auto bytes = w.Bytes();

  for (auto mode : {SourceMode::File, SourceMode::Memory}) {
    SCOPED_TRACE(ModeName(mode));
    ArchiveSource src(mode, bytes);
    auto& io = src.io();
    ResourceDataRecord r;
    FileDataRecord f;
    zkw_string s1, s2, s3;
    int64_t i64 = 0;
    float fl = 0;
    Int32Pair pair{};
    uint32_t dw = 0, u32 = 0;
    int16_t i16 = 0;
    uint8_t b = 0;
    bool flag = false;
    int32_t i32 = 0;
    char raw[3] = {};
    uint64_t u64 = 0;
    GUID g;
    io.ReadResourceRecord(r);
    io.ReadFileData(f);
    io.ReadWideString(s1);
    io.ReadWideString(s2);
    io.ReadWideString(s3);
    io.ReadInt64(i64);
    io.ReadFloat(fl);
    io.ReadInt32Pair(pair);
    io.ReadDword(dw);
    io.ReadInt16(i16);
    io.ReadUInt32(u32);
    io.ReadByte(b);
    io.ReadBool(flag);
    io.ReadInt32(i32);
    io.ReadBytes(3, raw);
    io.ReadUInt64(u64);
    src.archive().ReadGuid(g);

    EXPECT_EQ(r, SampleResource());
    EXPECT_EQ(f, file);
    EXPECT_EQ(s1, u"name");
    EXPECT_EQ(s2, zkw_string(300, u'q'));
    EXPECT_EQ(s3, longText);
    EXPECT_EQ(i64, -1234567890123LL);
    EXPECT_EQ(fl, -2.5f);
    EXPECT_EQ(pair, (Int32Pair{-7, 9}));
    EXPECT_EQ(dw, 0xDEADBEEFu);
    EXPECT_EQ(i16, -300);
    EXPECT_EQ(u32, 4000000000u);
    EXPECT_EQ(b, 0xAB);
    EXPECT_TRUE(flag);
    EXPECT_EQ(i32, -42);
    EXPECT_EQ(std::string(raw, 3), "xyz");
    EXPECT_EQ(u64, ~uint64_t{0});
    EXPECT_EQ(g, guid);
    EXPECT_FALSE(io.Failed());
    EXPECT_EQ(src.buffer().Remaining(), 0u);
  }
}

TEST(WriterRoundTrip, WriterUsesTheShortestLengthForm) {
  const std::pair<size_t, size_t> cases[] = {{0, 4}, {254, 4}, {255, 6}, {65534, 6}, {65535, 10}};
  for (auto [units, header] : cases) {
    DS_IOF_W w;
    w.WriteWideString(zkw_string(units, u'a'));
    EXPECT_EQ(w.Bytes().size(), header + 2 * units) << units;
  }
}

TEST(WriterRoundTrip, AnyNonZeroBoolByteReadsTrue) {
  ArchiveSource src(SourceMode::Memory, Bytes({0x02, 0x00}));
  bool a = false, b = true;
  src.io().ReadBool(a);
  src.io().ReadBool(b);
  EXPECT_TRUE(a);
  EXPECT_FALSE(b);
}

}  // namespace
