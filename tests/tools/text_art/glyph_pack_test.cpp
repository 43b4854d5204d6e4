// The glyph picture packs that text_art draws for the demo's animated font, read back the way
// the player reads a module's picture pack.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>

#include "core/archive/resource_buffer.h"
#include "tools/text_art/glyph_pack.h"

namespace {

TEST(GlyphPack, OneTintedFramePerTintWithItsDelay) {
  const FaceChoice choice = ChooseDejaVuFace(u"Arial", 700, false);
  if (!std::filesystem::exists(choice.file))
    GTEST_SKIP() << choice.file << " is missing: install fonts-dejavu-core (tools/setup.sh)";
  std::string error;
  const std::unique_ptr<TextFont> font = TextFont::Open(choice, &error);
  ASSERT_NE(font, nullptr) << error;

  const std::vector<uint8_t> pack = GlyphPack(*font, u'F', 32.0f, {0xFFFF0000, 0xFF0000FF}, 0.25f);
  ResourceBuffer buffer;
  buffer.SetMemory(pack.data(), pack.size());
  std::vector<uint32_t> delays;
  buffer.ReadDwordVector(delays);
  ASSERT_EQ(delays.size(), 2u);
  EXPECT_EQ(std::bit_cast<float>(delays[1]), 0.25f);
  uint32_t count = 0;
  buffer.ReadDword(count);
  ASSERT_EQ(count, 2u);
  std::vector<std::vector<uint8_t>> frames;
  for (uint32_t i = 0; i < count; ++i) {
    ResourceDataRecord record;
    buffer.ReadResourceRecord(record);
    ASSERT_GE(record.bytes.size(), 128u);
    EXPECT_EQ(std::memcmp(record.bytes.data(), "DDS ", 4), 0);
    frames.push_back(record.bytes);
  }
  EXPECT_FALSE(buffer.Failed());
  EXPECT_EQ(buffer.Remaining(), 0u);
  // The same glyph in another tint.
  ASSERT_EQ(frames[0].size(), frames[1].size());
  EXPECT_NE(frames[0], frames[1]);
}

}  // namespace
