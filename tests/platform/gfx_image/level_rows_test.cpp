#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/gfx/image/level_buffers.h"
#include "platform/gfx/image/level_rows.h"

namespace gfx::image {
namespace {

// One pixel of a row of ARGB bytes as 0xAARRGGBB.
uint32_t Argb(const std::vector<uint8_t>& level, size_t pitch, uint32_t x, uint32_t y) {
  const uint8_t* p = &level[y * pitch + x * 4];
  return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

TEST(LevelEncoder, ALevelInReusedMemoryHoldsOnlyItsOwnRows) {
  // 4 MiB levels: large enough to be handed from one level to the next.
  constexpr uint32_t kSize = 1024;
  const LevelBufferReuse reuse;
  const std::vector<Color4> white(kSize, Color4{1, 1, 1, 1}), red(kSize, Color4{1, 0, 0, 1}),
      blue(kSize, Color4{0, 0, 1, 1});
  LevelEncoder first(Format::A8R8G8B8, kSize, kSize);
  for (uint32_t y = 0; y < kSize; ++y)
    first.Write(y, white.data());
  std::vector<uint8_t> old = first.Take();
  const uint8_t* memory = old.data();
  ReleaseLevelBuffer(std::move(old));

  // Rows 1-2 and 4 on are never given and row 0 is given twice: the first one counts, and the
  // rest is transparent black, not the white left in the memory.
  LevelEncoder second(Format::A8R8G8B8, kSize, kSize);
  second.Write(0, red.data());
  second.Write(3, blue.data());
  second.Write(0, blue.data());
  const std::vector<uint8_t> level = second.Take();
  ASSERT_EQ(level.data(), memory) << "the second level was not written into the first's memory";
  ASSERT_EQ(level.size(), size_t(kSize) * kSize * 4);
  const size_t pitch = kSize * 4;
  for (uint32_t x : {0u, 5u, kSize - 1}) {
    EXPECT_EQ(Argb(level, pitch, x, 0), 0xFFFF0000u);
    EXPECT_EQ(Argb(level, pitch, x, 1), 0u);
    EXPECT_EQ(Argb(level, pitch, x, 3), 0xFF0000FFu);
    EXPECT_EQ(Argb(level, pitch, x, kSize - 1), 0u);
  }
}

TEST(LevelEncoder, ColourRowsRoundClampAndKeepAlphaPerFormat) {
  // Seven pixels: one group of four and a tail of three take the same rules.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<Color4> row = {{0, 0, 0, 0},
                                   {1, 0.5f, 0.25f, 0.2f},
                                   {-1, 2, nan, inf},
                                   {0.6f / 255, 0, 0, 1},
                                   {-inf, 1, 0, 0.5f},
                                   {0.1f, 0.2f, 0.3f, 0.4f},
                                   {2.2f / 255, nan, 1, -0.0f}};
  const uint32_t argb[] = {0x00000000, 0x33FF8040, 0xFF00FF00, 0xFF010000,
                           0x8000FF00, 0x661A334D, 0x000200FF};
  for (Format format : {Format::A8R8G8B8, Format::X8R8G8B8}) {
    SCOPED_TRACE(format == Format::A8R8G8B8 ? "A8R8G8B8" : "X8R8G8B8");
    LevelEncoder encoder(format, uint32_t(row.size()), 1);
    encoder.Write(0, row.data());
    const std::vector<uint8_t> level = encoder.Take();
    ASSERT_EQ(level.size(), row.size() * 4);
    for (uint32_t x = 0; x < row.size(); ++x) {
      const uint32_t expected = format == Format::X8R8G8B8 ? argb[x] | 0xFF000000u : argb[x];
      EXPECT_EQ(Argb(level, 0, x, 0), expected) << "pixel " << x;
    }
  }
}

}  // namespace
}  // namespace gfx::image
