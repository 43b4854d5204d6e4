#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <typeinfo>
#include <vector>

#include "fx/fx_fixture.h"

namespace fx_test {

// One stored field of a record: a 4-byte word (Int32 fields as their bits), a link (wide-string
// name and Int64 id) or a wide string (a GUID's text).
struct StoredItem {
  enum class Kind { Word, Link, Text } kind;
  uint32_t word = 0;
  zkw_string text;
  int64_t id = 0;
};

inline StoredItem Word(uint32_t word) {
  return {StoredItem::Kind::Word, word, {}, 0};
}
inline StoredItem Link(zkw_string name, int64_t id) {
  return {StoredItem::Kind::Link, 0, std::move(name), id};
}
inline StoredItem Text(zkw_string text) {
  return {StoredItem::Kind::Text, 0, std::move(text), 0};
}

// The record in `bytes` is `name` version `version`, holds `items` in that order and goes on
// with the record of `base`.
inline void ExpectLayout(const std::vector<uint8_t>& bytes, const char16_t* name, uint32_t version,
                         const std::vector<StoredItem>& items, const char16_t* base) {
  ReadArchive layout(bytes);
  DS_IOF_Virtual& io = layout.archive().io();
  zkw_string text;
  uint32_t word = 0;
  io.ReadWideString(text);
  io.ReadDword(word);
  EXPECT_EQ(text, name);
  EXPECT_EQ(word, version);
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "field " << i);
    const StoredItem& item = items[i];
    switch (item.kind) {
      case StoredItem::Kind::Word:
        io.ReadUInt32(word);
        EXPECT_EQ(word, item.word);
        break;
      case StoredItem::Kind::Link: {
        int64_t id = 0;
        io.ReadWideString(text);
        io.ReadInt64(id);
        EXPECT_EQ(text, item.text);
        EXPECT_EQ(id, item.id);
        break;
      }
      case StoredItem::Kind::Text:
        io.ReadWideString(text);
        EXPECT_EQ(text, item.text);
        break;
    }
  }
  io.ReadWideString(text);
  EXPECT_EQ(text, base);
  EXPECT_FALSE(layout.archive().Failed());
}

inline std::string KindName(const DS_ABObj_Constructor& description) {
  return typeid(description).name();
}

// The brush's record read back through the object registry is a brush of its kind that writes
// the same bytes again; cut short, it fails the stream and still gives a brush of its kind.
inline void ExpectRoundTrip(const DS_FX_Constructor& brush) {
  const std::vector<uint8_t> bytes = Written([&](DS_IOF_Archive& a) { brush.Save(a); });
  {
    ReadArchive source(bytes);
    std::unique_ptr<DS_ABObj_Constructor> read = ReadByName(source.archive(), GetObjectRegistry());
    EXPECT_FALSE(source.archive().Failed());
    EXPECT_EQ(source.Remaining(), 0u);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(KindName(*read), KindName(brush));
    EXPECT_EQ(Written([&](DS_IOF_Archive& a) { read->Save(a); }), bytes);
  }
  for (size_t keep : {bytes.size() / 3, bytes.size() - 1}) {
    ReadArchive source(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(keep)));
    std::unique_ptr<DS_ABObj_Constructor> read = ReadByName(source.archive(), GetObjectRegistry());
    EXPECT_TRUE(source.archive().Failed()) << keep << " bytes";
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(KindName(*read), KindName(brush));
  }
}

}  // namespace fx_test
