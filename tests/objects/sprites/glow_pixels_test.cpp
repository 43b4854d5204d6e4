// What a discharge's glow object draws: its glow lights the picture below along the bolt and
// leaves it alone further away; the screen composition never darkens it.
#include <algorithm>

#include "core/crt_rand.h"
#include "objects/sprites/ds_discharge_fx_constructor.h"
#include "objects/sprites/ds_glowing_obj.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

constexpr uint32_t kGrey = 0xFF808080;

int Sum(uint32_t pixel) {
  return Channel(pixel, 0) + Channel(pixel, 8) + Channel(pixel, 16);
}

class GlowPixels : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    StartSlideOn(renderer_, width_, height_, kGrey);
  }

  // A horizontal discharge across the middle of the 64 x 32 scene, 16 pixels high, glowing
  // with the bolt picture.
  static DS_DischargeFXConstructor Discharge(int blendMode) {
    DS_DischargeFXConstructor preset;
    preset.startPoint.SetValue(D3DXVECTOR3(6, 16, 0));
    preset.endPoint.SetValue(D3DXVECTOR3(58, 16, 0));
    preset.count.SetValue(4);
    preset.jitter.SetValue(0);
    preset.size.SetValue(16);
    preset.blendMode.SetValue(blendMode);
    preset.secondPicture = DS_ImageFileLink(u"glimres.dll", 95);
    return preset;
  }

  // A frame of the slide with the discharge's glow object, after two updates (the second picks
  // each segment's picture row); answers the object.
  DS_GlowingObj* DrawFrame(DS_DischargeFXConstructor& preset) {
    std::unique_ptr<ZKW_RenderObj> made = preset.CreateRuntimeObject();
    auto* obj = dynamic_cast<DS_GlowingObj*>(made.get());
    EXPECT_NE(obj, nullptr);
    if (obj == nullptr) return nullptr;
    EXPECT_TRUE(obj->GlowPreset().effect);
    EXPECT_TRUE(obj->GlowPreset().glowTexture);
    obj->Update(0.0f);
    obj->Update(0.05f);
    objects_.clear();
    objects_.emplace_back(std::move(made));
    Frame(renderer_, objects_);
    return obj;
  }
  uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) const {
    return pixels[size_t(y) * width_ + x];
  }

  DS_2D_Light renderer_;
  RuntimeObjectList objects_;
};

// The sum of one channel over the frame.
int64_t ChannelSum(const std::vector<uint32_t>& pixels, int shift) {
  int64_t sum = 0;
  for (uint32_t pixel : pixels)
    sum += Channel(pixel, shift);
  return sum;
}

// Laid over (blend mode 0) or screened (1), the glow and the bolt light the pixels along the
// bolt and leave far ones grey. The glow itself (compared with a glow of strength 0, the same
// draws made) brings its colour, 0xFF9900 (blue and some green): screened it adds light to
// every channel, laid over it pulls the red towards the glow's none.
TEST_F(GlowPixels, GlowLightsTheBoltAndLeavesFarPixelsGrey) {
  for (int blendMode : {0, 1}) {
    SCOPED_TRACE(blendMode);
    DS_DischargeFXConstructor preset = Discharge(blendMode);
    crt_srand(3);
    ASSERT_NE(DrawFrame(preset), nullptr);
    const std::vector<uint32_t> px = BackBufferPixels();
    for (int x : {16, 32, 48}) {
      int brightest = 0;
      for (int y = 8; y <= 24; ++y)
        brightest = std::max(brightest, Sum(At(px, x, y)));
      EXPECT_GT(brightest, 3 * 0x80 + 150) << x;
    }
    for (const auto& [x, y] : {std::pair{32, 2}, std::pair{2, 30}, std::pair{62, 1}})
      EXPECT_LE(std::abs(Sum(At(px, x, y)) - 3 * 0x80), 3) << x << "," << y;

    preset.glowStrength.SetValue(0);
    crt_srand(3);
    ASSERT_NE(DrawFrame(preset), nullptr);
    const std::vector<uint32_t> unlit = BackBufferPixels();
    EXPECT_GT(ChannelSum(px, 0), ChannelSum(unlit, 0) + 300) << "blue";
    if (blendMode == 1) {
      EXPECT_GE(ChannelSum(px, 16), ChannelSum(unlit, 16)) << "red";
    } else {
      EXPECT_LT(ChannelSum(px, 16), ChannelSum(unlit, 16) - 300) << "red";
    }
  }
}

// The glow is the sprites drawn into the object's own target first, cleared to transparent
// black: the bolt's row lights up there, and nothing else.
TEST_F(GlowPixels, TheGlowTargetHoldsTheBoltAlone) {
  DS_DischargeFXConstructor preset = Discharge(1);
  DS_GlowingObj* obj = DrawFrame(preset);
  ASSERT_NE(obj, nullptr);
  RenderTargetSet* target = obj->GlowTarget();
  ASSERT_NE(target, nullptr);
  ASSERT_TRUE(target->current);
  const std::vector<uint32_t> glow = Pixels(target->current.Get());
  ASSERT_EQ(glow.size(), 512u * 512u);
  // The scene's 64 x 32 stretched over 512 x 512: the bolt runs along the middle row.
  EXPECT_GT(glow[256 * 512 + 256] >> 24, 200u);
  EXPECT_EQ(glow[16 * 512 + 256], 0u);
  EXPECT_EQ(glow[256 * 512 + 8], 0u) << "left of the bolt's start";

  // What the draw left in the shared effect: the glow colour 0xFF9900 as red, green, blue and
  // the strength as alpha for the composition, the glow target as its second texture, and the
  // sprites' own picture for the last pass.
  gfx::Effect* effect = obj->GlowPreset().effect.Get();
  float blend[4] = {};
  ASSERT_EQ(effect->GetFloatArray("BlendColor", blend, 4), gfx::kOk);
  EXPECT_FLOAT_EQ(blend[0], 0.0f);
  EXPECT_FLOAT_EQ(blend[1], 0x99 / 255.0f);
  EXPECT_FLOAT_EQ(blend[2], 1.0f);
  EXPECT_FLOAT_EQ(blend[3], 1.0f);
  gfx::ComPtr<gfx::Texture> second, first;
  ASSERT_EQ(effect->GetTexture("Texture2", second.Put()), gfx::kOk);
  EXPECT_EQ(second.Get(), target->current.Get());
  ASSERT_EQ(effect->GetTexture("Texture1", first.Put()), gfx::kOk);
  EXPECT_EQ(first.Get(), obj->GlowPreset().spriteTexture.Get());
}

}  // namespace
}  // namespace sprite_test
