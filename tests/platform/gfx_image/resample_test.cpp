#include <gtest/gtest.h>

#include "platform/gfx/image/resample.h"

namespace gfx::image {
namespace {

TEST(Resample, FiltersKeepAFlatPictureFlatAtAnySize) {
  // Every filter's weights add up to one, whatever the ratio (21 to 16 once broke a filter).
  const uint32_t sizes[][4] = {{21, 21, 16, 16}, {44, 21, 16, 16}, {1, 21, 16, 16},
                               {3, 3, 512, 512}, {1000, 1, 3, 1},  {7, 5, 7, 5}};
  for (uint32_t filter : {D3DX_FILTER_POINT, D3DX_FILTER_LINEAR, D3DX_FILTER_TRIANGLE,
                          D3DX_FILTER_BOX, D3DX_DEFAULT}) {
    for (const auto& s : sizes) {
      SCOPED_TRACE(::testing::Message()
                   << filter << ": " << s[0] << "x" << s[1] << " to " << s[2] << "x" << s[3]);
      FloatImage flat(s[0], s[1]);
      for (Color4& c : flat.pixels)
        c = {0.25f, 0.5f, 0.75f, 1};
      const FloatImage out = Resample(flat, s[2], s[3], filter);
      ASSERT_EQ(out.width, s[2]);
      ASSERT_EQ(out.height, s[3]);
      for (const Color4& c : out.pixels) {
        ASSERT_NEAR(c.r, 0.25f, 1e-5f);
        ASSERT_NEAR(c.a, 1.0f, 1e-5f);
      }
    }
  }
}

TEST(Resample, BoxAveragesAndNoneCopiesToTheCorner) {
  FloatImage row(4, 1);
  for (uint32_t x = 0; x < 4; ++x)
    row.At(x, 0) = {float(x), 0, 0, 1};
  const FloatImage half = Resample(row, 2, 1, D3DX_FILTER_BOX);
  EXPECT_FLOAT_EQ(half.At(0, 0).r, 0.5f);
  EXPECT_FLOAT_EQ(half.At(1, 0).r, 2.5f);
  const FloatImage corner = Resample(row, 8, 2, D3DX_FILTER_NONE);
  EXPECT_EQ(corner.At(3, 0), (Color4{3, 0, 0, 1}));
  EXPECT_EQ(corner.At(4, 0), Color4{});
  EXPECT_EQ(corner.At(0, 1), Color4{});
  // Mip levels halve down to 1 x 1; NONE leaves them transparent black.
  EXPECT_FLOAT_EQ(NextMipLevel(half, D3DX_DEFAULT).At(0, 0).r, 1.5f);
  EXPECT_EQ(NextMipLevel(half, D3DX_FILTER_NONE).At(0, 0), Color4{});
}

TEST(Resample, StreamsSourceRowsOnceFromTheTopAndStopsAtADamagedOne) {
  struct Case {
    uint32_t filter;
    uint32_t rowsRead;  // of the 8 source rows, for 2 target rows
  };
  for (const Case& c : {Case{D3DX_FILTER_NONE, 2}, Case{D3DX_FILTER_POINT, 7},
                        Case{D3DX_FILTER_TRIANGLE, 8}, Case{D3DX_FILTER_BOX, 8}}) {
    SCOPED_TRACE(c.filter);
    uint32_t read = 0;
    std::vector<uint32_t> written;
    std::vector<float> firstColumn;
    const bool ok = ResampleRows(
        3, 8,
        [&](Color4* row) {
          for (uint32_t x = 0; x < 3; ++x)
            row[x] = {float(read), 0, 0, 1};  // each row says which it is
          ++read;
          return true;
        },
        3, 2, c.filter,
        [&](uint32_t y, const Color4* row) {
          written.push_back(y);
          firstColumn.push_back(row[0].r);
        });
    EXPECT_TRUE(ok);
    EXPECT_EQ(read, c.rowsRead);
    EXPECT_EQ(written, (std::vector<uint32_t>{0, 1}));
    // Each target row shows the rows of its own half (NONE: the top rows, unscaled).
    EXPECT_LT(firstColumn[0], 4.0f);
    EXPECT_GE(firstColumn[1], c.filter == D3DX_FILTER_NONE ? 1.0f : 4.0f);

    // A row that cannot be read ends the stream with failure.
    read = 0;
    EXPECT_FALSE(ResampleRows(
        3, 8, [&](Color4*) { return ++read < 2; }, 3, 2, c.filter, [](uint32_t, const Color4*) {}));
  }
}

}  // namespace
}  // namespace gfx::image
