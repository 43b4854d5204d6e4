#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include "fx/fx_fixture.h"

namespace fx_test {

// A brush kind's record: the brush with its own fields set to telling values, and those fields
// as stored: 32-bit words in order (Int32 fields as their bits, floats as theirs), with the one
// link a kind may store after `linkAfter` of them.
struct RecordCase {
  const char* name;
  uint32_t version;
  std::function<std::unique_ptr<DS_FX_Constructor>()> make;
  std::vector<uint32_t> fields;
  const char16_t* base;
  std::optional<DS_FileLink3> link = std::nullopt;
  size_t linkAfter = 0;
};

inline std::string KindOf(const DS_ABObj_Constructor& description) {
  return typeid(description).name();
}

// The description the object registry reads from `bytes`; `failed` tells whether the stream
// failed.
inline std::unique_ptr<DS_ABObj_Constructor> ReadAny(std::vector<uint8_t> bytes,
                                                     bool* failed = nullptr) {
  ReadArchive source(std::move(bytes));
  auto read = ReadByName(source.archive(), GetObjectRegistry());
  if (failed != nullptr) *failed = source.archive().Failed();
  return read;
}

// The record holds the kind's header, its own fields in their order and then the base record's
// header; it reads back into the same kind, which writes the same bytes.
inline void ExpectStoredAheadOfBase(const RecordCase& c) {
  SCOPED_TRACE(c.name);
  std::unique_ptr<DS_FX_Constructor> brush = c.make();
  brush->name = u"brush";
  brush->maskQuad.SetRect(10, 20, D3DXVECTOR3(30, 40, 0));
  const auto bytes = Written([&](DS_IOF_Archive& a) { brush->Save(a); });

  ReadArchive layout(bytes);
  DS_IOF_Virtual& io = layout.archive().io();
  zkw_string name;
  uint32_t word = 0;
  io.ReadWideString(name);
  io.ReadDword(word);
  EXPECT_EQ(ToUtf8(name), c.name);
  EXPECT_EQ(word, c.version);
  for (size_t i = 0; i <= c.fields.size(); ++i) {
    if (c.link && i == c.linkAfter) {
      int64_t id = 0;
      io.ReadWideString(name);
      io.ReadInt64(id);
      EXPECT_EQ(name, c.link->name);
      EXPECT_EQ(id, c.link->id);
    }
    if (i == c.fields.size()) break;
    io.ReadUInt32(word);
    EXPECT_EQ(word, c.fields[i]) << "field " << i;
  }
  io.ReadWideString(name);
  EXPECT_EQ(name, c.base);

  bool failed = true;
  std::unique_ptr<DS_ABObj_Constructor> read = ReadAny(bytes, &failed);
  EXPECT_FALSE(failed);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(KindOf(*read), KindOf(*brush));
  EXPECT_EQ(read->name, u"brush");
  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { read->Save(a); }), bytes);
}

// A record cut short fails the stream and still reads as its kind.
inline void ExpectTruncatedFails(const RecordCase& c) {
  SCOPED_TRACE(c.name);
  std::unique_ptr<DS_FX_Constructor> brush = c.make();
  std::vector<uint8_t> bytes = Written([&](DS_IOF_Archive& a) { brush->Save(a); });
  for (size_t keep : {bytes.size() / 3, bytes.size() - 1}) {
    bool failed = false;
    std::unique_ptr<DS_ABObj_Constructor> read =
        ReadAny(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(keep)), &failed);
    EXPECT_TRUE(failed);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(KindOf(*read), KindOf(*brush));
  }
}

// A kind's own fields of an older version, then the base record `base` writes.
inline std::vector<uint8_t> OldRecord(const char16_t* kind, uint32_t version,
                                      const std::vector<uint32_t>& fields,
                                      const std::function<void(DS_IOF_Archive&)>& base) {
  return Written([&](DS_IOF_Archive& a) {
    a.io().WriteWideString(kind);
    a.io().WriteDword(version);
    for (uint32_t v : fields)
      a.io().WriteUInt32(v);
    base(a);
  });
}

}  // namespace fx_test
