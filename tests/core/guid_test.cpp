#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/guid.h"

namespace {

TEST(Guid, TextGroupsMapToFieldsAndBytesInOrder) {
  GUID g = GUID::Parse(u"{01234567-89AB-CDEF-0011-2233445566FF}");
  EXPECT_EQ(g.Data1, 0x01234567u);
  EXPECT_EQ(g.Data2, 0x89ABu);
  EXPECT_EQ(g.Data3, 0xCDEFu);
  EXPECT_EQ(g.Data4, (std::array<uint8_t, 8>{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xFF}));
  EXPECT_EQ(g.ToString(), u"{01234567-89AB-CDEF-0011-2233445566FF}");
  EXPECT_EQ(GUID::Parse(u"{01234567-89ab-cdef-0011-2233445566ff}"), g);
}

TEST(Guid, TextThatIsNotAGuidGivesZero) {
  const char16_t* bad[] = {
      u"",
      u"01234567-89AB-CDEF-0011-2233445566FF",
      u"{01234567-89AB-CDEF-0011-2233445566F}",
      u"{01234567-89AB-CDEF-0011-2233445566FG}",
      u"{01234567+89AB-CDEF-0011-2233445566FF}",
      u"{01234567-89AB-CDEF-0011-2233445566FF}x",
  };
  for (auto text : bad)
    EXPECT_TRUE(GUID::Parse(text).IsNull()) << ToUtf8(text);
}

TEST(Guid, CreatedGuidsAreVersionFourAndDistinct) {
  std::set<GUID> seen;
  for (int i = 0; i < 100; ++i) {
    GUID g = GUID::Create();
    EXPECT_EQ(g.Data3 >> 12, 4);
    EXPECT_EQ(g.Data4[0] & 0xC0, 0x80);
    EXPECT_EQ(GUID::Parse(g.ToString()), g);
    seen.insert(g);
  }
  EXPECT_EQ(seen.size(), 100u);
}

// Tools that must write the same bytes on every run ask for repeatable GUIDs.
TEST(Guid, RepeatableCreationGivesTheSameVersionFourSequence) {
  auto sequence = [] {
    GUID::MakeCreationRepeatable(7);
    std::vector<GUID> made;
    for (int i = 0; i < 5; ++i)
      made.push_back(GUID::Create());
    return made;
  };
  const std::vector<GUID> first = sequence();
  EXPECT_EQ(sequence(), first);
  EXPECT_EQ(std::set<GUID>(first.begin(), first.end()).size(), first.size());
  for (const GUID& g : first)
    EXPECT_EQ(g.Data3 >> 12, 4);
}

}  // namespace
