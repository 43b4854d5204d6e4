#include <gtest/gtest.h>

#include "core/archive/archive_fixture.h"

namespace {

class ReadingTest : public ::testing::TestWithParam<SourceMode> {};

INSTANTIATE_TEST_SUITE_P(Modes, ReadingTest,
                         ::testing::Values(SourceMode::File, SourceMode::Memory),
                         [](const auto& info) { return ModeName(info.param); });

TEST_P(ReadingTest, SignatureTextReadsAsElevenUnits) {
  auto bytes = Bytes({0xFF, 0xFE, 0xFF, 0x0B});
  AppendUnits(bytes, u"ZRT v 5.0.0");
  Append(bytes, Bytes({0x55}));
  ArchiveSource src(GetParam(), bytes);
  zkw_string text;
  src.io().ReadWideString(text);
  EXPECT_EQ(text, u"ZRT v 5.0.0");
  EXPECT_EQ(src.Consumed(), 26u);
}

struct LengthCase {
  uint32_t units;
  std::vector<uint8_t> header;
};

TEST_P(ReadingTest, LengthEscapesGiveHeadersOfFourSixAndTen) {
  const LengthCase cases[] = {
      {254, Bytes({0xFF, 0xFE, 0xFF, 0xFE})},
      {255, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
      {65535, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
  };
  for (const auto& c : cases) {
    auto bytes = c.header;
    AppendUnits(bytes, zkw_string(c.units, u'x'));
    ArchiveSource src(GetParam(), bytes);
    zkw_string text;
    src.io().ReadWideString(text);
    EXPECT_EQ(text.size(), c.units);
    EXPECT_EQ(src.Consumed(), c.header.size() + 2u * c.units);
    EXPECT_FALSE(src.buffer().Failed());
  }
}

TEST_P(ReadingTest, TextEndsAtFirstNulButEveryUnitIsConsumed) {
  auto bytes = Bytes({0xFF, 0xFE, 0xFF, 5});
  AppendUnits(bytes, std::u16string_view(u"ab\0cd", 5));
  AppendUnits(bytes, u"z");
  ArchiveSource src(GetParam(), bytes);
  zkw_string text;
  src.io().ReadWideString(text);
  EXPECT_EQ(text, u"ab");
  EXPECT_EQ(src.Consumed(), 14u);
}

TEST(ReadingModes, EmptyWideStringKeepsFileDestinationButClearsMemoryDestination) {
  for (auto mode : {SourceMode::File, SourceMode::Memory}) {
    ArchiveSource src(mode, Bytes({0xFF, 0xFE, 0xFF, 0x00, 0x11}));
    zkw_string text = u"abc";
    src.io().ReadWideString(text);
    EXPECT_EQ(text, mode == SourceMode::File ? u"abc" : u"") << ModeName(mode);
    EXPECT_EQ(src.Consumed(), 4u);
  }
}

TEST(ReadingModes, NarrowStringIsReadFromFilesOnly) {
  auto bytes = Bytes({3, 'a', 0, 'c', 0x42});
  {
    ArchiveSource src(SourceMode::File, bytes);
    std::string text = "old";
    src.io().ReadNarrowString(text);
    EXPECT_EQ(text, "a");
    EXPECT_EQ(src.Consumed(), 4u);
  }
  {
    ArchiveSource src(SourceMode::Memory, bytes);
    std::string text = "old";
    src.io().ReadNarrowString(text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(src.Consumed(), 0u);
  }
}

TEST_P(ReadingTest, DwordPastTheEndFillsOnlyWhatRemainsAndFailsTheStream) {
  ArchiveSource src(GetParam(), Bytes({0x34, 0x12}));
  uint32_t v = 0xAABBCCDD;
  src.io().ReadDword(v);
  EXPECT_EQ(v, 0xAABB1234u);
  EXPECT_TRUE(src.io().Failed());
  uint32_t after = 7;
  src.io().ReadDword(after);
  EXPECT_EQ(after, 7u);
}

TEST_P(ReadingTest, DwordWithNothingLeftKeepsDestination) {
  ArchiveSource src(GetParam(), {});
  uint32_t v = 99;
  src.io().ReadDword(v);
  EXPECT_EQ(v, 99u);
  EXPECT_TRUE(src.io().Failed());
}

TEST_P(ReadingTest, FileDataOfSizeZeroConsumesSizeAndPathOnly) {
  auto bytes = Bytes({0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 1});
  AppendUnits(bytes, u"p");
  ArchiveSource src(GetParam(), bytes);
  FileDataRecord r;
  src.io().ReadFileData(r);
  EXPECT_TRUE(r.bytes.empty());
  EXPECT_EQ(r.path, u"p");
  EXPECT_EQ(src.Consumed(), 10u);
}

TEST_P(ReadingTest, ResourceRecordReadsIdModuleThenFilePart) {
  auto bytes = Bytes({7, 0, 0, 0, 0xFF, 0xFE, 0xFF, 2});
  AppendUnits(bytes, u"md");
  Append(bytes, Bytes({3, 0, 0, 0, 1, 2, 3, 0xFF, 0xFE, 0xFF, 1}));
  AppendUnits(bytes, u"f");
  ArchiveSource src(GetParam(), bytes);
  ResourceDataRecord r;
  src.io().ReadResourceRecord(r);
  EXPECT_EQ(r.resourceId, 7u);
  EXPECT_EQ(r.module, u"md");
  EXPECT_EQ(r.bytes, Bytes({1, 2, 3}));
  EXPECT_EQ(r.path, u"f");
  EXPECT_EQ(src.Consumed(), bytes.size());
}

// Lengths and counts that the remaining bytes cannot hold fail the stream without allocating
// (a 4 GiB request here would otherwise abort the sanitizer run).
TEST_P(ReadingTest, OversizedLengthsFailWithoutAllocating) {
  {
    ArchiveSource src(GetParam(),
                      Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'a', 0}));
    zkw_string text = u"keep";
    src.io().ReadWideString(text);
    EXPECT_EQ(text, u"keep");
    EXPECT_TRUE(src.io().Failed());
  }
  {
    ArchiveSource src(GetParam(), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}));
    FileDataRecord r;
    src.io().ReadFileData(r);
    EXPECT_TRUE(r.bytes.empty());
    EXPECT_TRUE(src.io().Failed());
  }
  {
    ArchiveSource src(GetParam(), Bytes({0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0}));
    std::vector<uint32_t> v{5};
    src.buffer().ReadDwordVector(v);
    EXPECT_EQ(v, std::vector<uint32_t>{5});
    EXPECT_TRUE(src.buffer().Failed());
  }
  {
    ArchiveSource src(GetParam(), Bytes({0x00, 0x00, 0x00, 0x10, 0, 0, 0, 0}));
    std::vector<ResourceDataRecord> list;
    src.archive().ReadResourceRecordList(list);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(src.io().Failed());
  }
}

TEST_P(ReadingTest, DwordVectorReadsCountThenValues) {
  ArchiveSource src(GetParam(), Bytes({2, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0, 0, 0}));
  std::vector<uint32_t> v;
  src.buffer().ReadDwordVector(v);
  EXPECT_EQ(v, (std::vector<uint32_t>{1, 255}));
  EXPECT_FALSE(src.buffer().Failed());
}

TEST(ReadingModes, ClosedSourceDeliversNothing) {
  ResourceBuffer buffer;
  EXPECT_FALSE(buffer.Open("/nonexistent/file"));
  DS_IOF_R<ResourceBuffer> io(&buffer);
  zkw_string text = u"keep";
  uint32_t v = 3;
  io.ReadWideString(text);
  io.ReadDword(v);
  EXPECT_EQ(text, u"keep");
  EXPECT_EQ(v, 3u);
}

}  // namespace
