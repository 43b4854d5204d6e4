#include "player/render/texture_helpers.h"

#include <gtest/gtest.h>

#include "render_fixture.h"

namespace render_test {
namespace {

using TextureHelpersTest = RenderTest;

TEST_F(TextureHelpersTest, PremultiplyRoundsEachColourByItsAlpha) {
  auto texture = MakeTexture(3, 1, {0xFFFFFFFF, 0x80FF8001, 0x00FFFFFF});
  ASSERT_TRUE(PremultiplyTextureAlpha(texture.Get()));
  gfx::LockedRect r;
  ASSERT_EQ(texture->LockRect(0, &r, nullptr, gfx::LockFlags::ReadOnly), gfx::kOk);
  const auto* px = static_cast<const uint32_t*>(r.bits);
  EXPECT_EQ(px[0], 0xFFFFFFFFu);  // opaque stays whole
  // 255 x 128 / 255 = 128, 128 x 128 / 255 = 64.25 -> 64, 1 x 128 / 255 = 0.5 -> 1.
  EXPECT_EQ(px[1], 0x80804001u);
  EXPECT_EQ(px[2], 0x00000000u);
  texture->UnlockRect(0);
}

TEST_F(TextureHelpersTest, PremultiplyAnswersByFormat) {
  gfx::ComPtr<gfx::Texture> dxt;
  ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, gfx::Format::Dxt1, gfx::Pool::Managed, dxt.Put()),
            gfx::kOk);
  EXPECT_TRUE(PremultiplyTextureAlpha(dxt.Get()));
  auto x8 = MakeTexture(1, 1, {0x80FFFFFF}, gfx::Format::X8R8G8B8);
  EXPECT_FALSE(PremultiplyTextureAlpha(x8.Get()));
  EXPECT_FALSE(PremultiplyTextureAlpha(nullptr));
}

TEST_F(TextureHelpersTest, CopiesAreManagedWithAFullMipChain) {
  auto source = MakeTexture(2, 2, {0xFF204060, 0xFF204060, 0xFF204060, 0xFF204060});
  ComRef<gfx::Texture> copy;
  CopyTexture(source.Get(), copy, 8, 4, gfx::Format::Unknown);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->Width(), 8u);
  EXPECT_EQ(copy->GetLevelCount(), 4u);
  EXPECT_EQ(copy->GetFormat(), gfx::Format::A8R8G8B8);
  EXPECT_EQ(Pixels(copy.Get())[5], 0xFF204060u);

  ComRef<gfx::Texture> none;
  CopyTexture(nullptr, none, 8, 8, gfx::Format::Unknown);
  EXPECT_FALSE(none);

  ComRef<gfx::Texture> square;
  MakeSquareCopy(source.Get(), square, 1);
  ASSERT_TRUE(square);
  EXPECT_EQ(square->Width(), 256u);
  EXPECT_EQ(square->Height(), 256u);
  MakeSquareCopy(source.Get(), square, -3);
  EXPECT_EQ(square->Width(), 128u);
}

}  // namespace
}  // namespace render_test
