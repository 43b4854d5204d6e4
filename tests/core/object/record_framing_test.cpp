#include <gtest/gtest.h>

#include <optional>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/object/ds_iof_item.h"

namespace {

// A two-level chain in the shape every archived class follows: own header and fields first, then
// the base's complete record. The derived class added `extra` in version 3.
class FramedBase : public virtual DS_IOF_Item {
 public:
  int32_t baseValue = -1;

  bool Save(DS_IOF_Archive& ar) const override {
    WriteRecordHeader(ar, u"FramedBase", 2);
    ar.io().WriteInt32(baseValue);
    return true;
  }
  void ReadBody(DS_IOF_Archive& ar, uint32_t /*version*/) { ar.io().ReadInt32(baseValue); }
};

class FramedDerived : public FramedBase {
 public:
  float value = 0;
  uint32_t extra = 77;

  bool Save(DS_IOF_Archive& ar) const override {
    WriteRecordHeader(ar, u"FramedDerived", 4);
    ar.io().WriteFloat(value);
    ar.io().WriteDword(extra);
    return FramedBase::Save(ar);
  }
  void ReadBody(DS_IOF_Archive& ar, uint32_t version) {
    ar.io().ReadFloat(value);
    if (version >= 3) ar.io().ReadDword(extra);
    FramedBase::ReadBody(ar, ReadBaseHeader(ar));
  }
};

std::vector<uint8_t> Header(std::u16string_view name, uint32_t version) {
  auto bytes = Bytes({0xFF, 0xFE, 0xFF, static_cast<int>(name.size())});
  AppendUnits(bytes, name);
  Append(bytes, Bytes({static_cast<int>(version), 0, 0, 0}));
  return bytes;
}

std::vector<uint8_t> Body(float value, std::optional<uint32_t> extra, std::u16string_view baseName,
                          int32_t baseValue) {
  DS_IOF_W w;
  w.WriteFloat(value);
  if (extra) w.WriteDword(*extra);
  auto bytes = w.TakeBytes();
  Append(bytes, Header(baseName, 2));
  DS_IOF_W tail;
  tail.WriteInt32(baseValue);
  Append(bytes, tail.Bytes());
  return bytes;
}

FramedDerived ReadDerived(const std::vector<uint8_t>& bytes) {
  ArchiveSource src(SourceMode::Memory, bytes);
  zkw_string name;
  uint32_t version = 0;
  src.io().ReadWideString(name);
  src.io().ReadDword(version);
  FramedDerived d;
  d.ReadBody(src.archive(), version);
  EXPECT_EQ(src.buffer().Remaining(), 0u);
  return d;
}

TEST(RecordFraming, SaveWritesOwnFieldsThenTheBaseRecord) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive ar(std::move(writer));
  FramedDerived d;
  d.value = 1.5f;
  d.extra = 5;
  d.baseValue = 9;
  ASSERT_TRUE(d.Save(ar));
  auto expected = Header(u"FramedDerived", 4);
  Append(expected, Body(1.5f, 5u, u"FramedBase", 9));
  EXPECT_EQ(w.Bytes(), expected);

  FramedDerived back = ReadDerived(w.Bytes());
  EXPECT_EQ(back.value, 1.5f);
  EXPECT_EQ(back.extra, 5u);
  EXPECT_EQ(back.baseValue, 9);
}

TEST(RecordFraming, VersionRules) {
  struct Case {
    const char* what;
    uint32_t version;
    std::optional<uint32_t> extra;
    std::u16string_view baseName;
    uint32_t expectExtra;
  };
  const Case cases[] = {
      {"older version keeps the default", 2, std::nullopt, u"FramedBase", 77},
      {"newer version reads as current", 7, 5u, u"FramedBase", 5},
      {"misspelt base name still reads", 4, 5u, u"FramdBase", 5},
  };
  for (const auto& c : cases) {
    auto bytes = Header(u"FramedDerived", c.version);
    Append(bytes, Body(2.0f, c.extra, c.baseName, 3));
    FramedDerived d = ReadDerived(bytes);
    EXPECT_EQ(d.value, 2.0f) << c.what;
    EXPECT_EQ(d.extra, c.expectExtra) << c.what;
    EXPECT_EQ(d.baseValue, 3) << c.what;
  }
}

}  // namespace
