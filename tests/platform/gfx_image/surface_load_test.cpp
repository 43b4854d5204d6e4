#include "platform/gfx/image/d3dx_texture.h"
#include "platform/gfx_image/image_fixture.h"

namespace gfx_image_test {
namespace {

using namespace gfx;
using gfx_test::ColorNear;

std::vector<uint32_t> LevelWords(Texture* t, uint32_t level = 0) {
  std::vector<uint8_t> bytes;
  uint32_t pitch = 0;
  EXPECT_EQ(t->ReadLevel(level, &bytes, &pitch), kOk);
  SurfaceDesc d;
  EXPECT_EQ(t->GetLevelDesc(level, &d), kOk);
  std::vector<uint32_t> out(size_t(d.width) * d.height);
  for (uint32_t y = 0; y < d.height; ++y)
    std::memcpy(&out[size_t(y) * d.width], &bytes[size_t(y) * pitch], d.width * 4);
  return out;
}

// Four 2 x 2 quadrants: red, green / blue, white.
std::vector<uint32_t> Quadrants() {
  std::vector<uint32_t> p(16);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      p[y * 4 + x] = y < 2 ? (x < 2 ? 0xFFFF0000 : 0xFF00FF00) : (x < 2 ? 0xFF0000FF : 0xFFFFFFFF);
  return p;
}

TEST_F(ImageTest, LoadSurfaceScalesIntoARenderTargetAndAFullChainCopy) {
  auto source = MakeTexture(4, 4, Quadrants());
  ComPtr<Surface> from;
  ASSERT_EQ(source->GetSurfaceLevel(0, from.Put()), kOk);

  ComPtr<Texture> target;
  ASSERT_EQ(device_->CreateTexture(8, 8, 1, Usage::RenderTarget, Format::A8R8G8B8, Pool::Default,
                                   target.Put()),
            kOk);
  ComPtr<Texture> copy;
  ASSERT_EQ(
      D3DXCreateTexture(device_.Get(), 16, 16, 0, 0, Format::X8R8G8B8, Pool::Managed, copy.Put()),
      kOk);
  EXPECT_EQ(copy->GetLevelCount(), 5u);
  for (Texture* t : {target.Get(), copy.Get()}) {
    ComPtr<Surface> to;
    ASSERT_EQ(t->GetSurfaceLevel(0, to.Put()), kOk);
    ASSERT_EQ(
        D3DXLoadSurfaceFromSurface(to.Get(), nullptr, from.Get(), nullptr, D3DX_FILTER_TRIANGLE, 0),
        kOk);
    const uint32_t n = t->Width();
    const auto px = LevelWords(t);
    EXPECT_EQ(px[0], 0xFFFF0000u);
    EXPECT_EQ(px[n - 1], 0xFF00FF00u);
    EXPECT_EQ(px[(n - 1) * n], 0xFF0000FFu);
    EXPECT_EQ(px[n * n - 1], 0xFFFFFFFFu);
    // Where the quadrants meet, the filter mixes all four.
    const uint32_t mixed = px[(n / 2) * n + n / 2 - 1];
    for (int shift : {0, 8, 16}) {
      EXPECT_GT((mixed >> shift) & 0xFF, 0x20u) << std::hex << mixed;
      EXPECT_LT((mixed >> shift) & 0xFF, 0xE0u) << std::hex << mixed;
    }
  }
}

TEST_F(ImageTest, LoadSurfaceIntoARectangleKeepsTheRest) {
  auto source = MakeTexture(4, 4, Quadrants());
  auto dest = MakeTexture(4, 4, std::vector<uint32_t>(16, 0xFF101010));
  ComPtr<Surface> from, to;
  EXPECT_EQ(source->GetSurfaceLevel(0, from.Put()), kOk);
  EXPECT_EQ(dest->GetSurfaceLevel(0, to.Put()), kOk);
  const Rect sourceRect{2, 2, 4, 4}, destRect{1, 0, 3, 2};  // the white quadrant, unscaled
  ASSERT_EQ(
      D3DXLoadSurfaceFromSurface(to.Get(), &destRect, from.Get(), &sourceRect, D3DX_FILTER_NONE, 0),
      kOk);
  const auto px = LevelWords(dest.Get());
  EXPECT_EQ(px[0], 0xFF101010u);
  EXPECT_EQ(px[1], 0xFFFFFFFFu);
  EXPECT_EQ(px[2 + 4], 0xFFFFFFFFu);
  EXPECT_EQ(px[3], 0xFF101010u);
  EXPECT_EQ(px[2 * 4 + 1], 0xFF101010u);

  const Rect outside{3, 3, 5, 5};
  EXPECT_EQ(
      D3DXLoadSurfaceFromSurface(to.Get(), &outside, from.Get(), nullptr, D3DX_FILTER_NONE, 0),
      kInvalidCall);
}

}  // namespace
}  // namespace gfx_image_test
