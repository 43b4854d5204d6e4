// The fire brush as a scene object of its own: read through the object registry, what its draw
// sets on its effect, what it draws, and its pixels.
#include <gtest/gtest.h>

#include <memory>

#include "fx/fx_fixture.h"
#include "fx/record_layout.h"
#include "platform/gfx/device.h"
#include "renderers/brush/ds_fire_fx.h"

namespace fx_test {
namespace {

using FireRecordTest = FxTest;

TEST_F(FireRecordTest, TheObjectRegistryReadsItsRecord) {
  DS_FireFX fire;
  fire.firstColor.SetValue(1);
  fire.secondColor.SetValue(2);
  fire.spare.SetValue(3);
  fire.patternLink = DS_ImageFileLink(u"fire.png", 4);
  fire.density.SetValue(5);
  fire.brightness.SetValue(6);
  fire.stretch.SetValue(7);
  ExpectLayout(Written([&](DS_IOF_Archive& a) { fire.Save(a); }), u"DS_FireFX", 3,
               {Word(1), Word(2), Word(3), Link(u"fire.png", 4), Link(u"glimres.dll", 8), Word(5),
                Word(6), Word(7)},
               u"DS_FX_Constructor");
  ExpectRoundTrip(fire);

  // A version-1 record holds no fields of its own.
  const auto old = Written([&](DS_IOF_Archive& a) {
    a.io().WriteWideString(u"DS_FireFX");
    a.io().WriteDword(1);
    fire.DS_FX_Constructor::Save(a);
  });
  auto read = ReadBrush<DS_FireFX>(old);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->firstColor.Value(), 0x0000FFFFu);
  EXPECT_EQ(read->patternLink.id, 93);
}

TEST_F(BrushValuesTest, FireColoursAndHeatFollowTheTimeline) {
  DS_FireFX fire;
  fire.maskQuad.SetRect(800, 100, D3DXVECTOR3(400, 550, 0));
  struct Case {
    float shown, brightness, density;
  };
  for (const Case c : {Case{1, 0.3f, 0}, Case{0.5f, 0.075f, -0.5f}, Case{0, 0, -1}}) {
    SCOPED_TRACE(c.shown);
    fire.timing.SetTiming(std::make_unique<FixedTimeline>(c.shown));
    DS_FX_Constructor& drawn = Drawn(fire, 1.0f);
    ExpectNear(Values(drawn, "ColorK1", 3), {1, 0, 0});
    ExpectNear(Values(drawn, "ColorK2", 3), {0, 1, 0});
    ExpectNear(Values(drawn, "Brightness", 1), {c.brightness}, 1e-6f);
    ExpectNear(Values(drawn, "Density", 1), {c.density}, 1e-6f);
    ExpectNear(Values(drawn, "bg_scale_factor", 2), {1.0f / 800, 1.0f / 600}, 1e-9f);
    const float p = drawn.Phase();
    EXPECT_NEAR(p, 1.0f, 1e-4f);
    ExpectNear(Values(drawn, "c13", 2), {0, 2.3f * p}, 1e-5f);
  }
  // Colours are 0x00BBGGRR: ColorK2 is the first minus the second, per channel.
  fire.firstColor.SetValue(0x00FF8000);
  fire.secondColor.SetValue(0x000000FF);
  ExpectNear(Values(Drawn(fire), "ColorK2", 3), {-1, 128.0f / 255, 1});
}

// In every mode the fire draws "Main" once through its 8 x 8-cell grid, reads no picture below,
// and leaves the clip planes as it found them.
TEST_F(BrushValuesTest, FireDrawsThroughItsGridInEveryMode) {
  DS_FireFX fire;
  fire.maskQuad.SetRect(800, 100, D3DXVECTOR3(400, 550, 0));
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    fire.mode.SetValue(mode);
    auto object = MakeObject(fire);
    EXPECT_EQ(object->NeedsPictureBelow(), 0);
    EXPECT_FALSE(object->NeedsTargetCopy());
    device_->SetRenderState(gfx::RenderState::ClipPlaneEnable, 5);
    ClearLog();
    int readers = 0;
    object->Render(canvas_, &readers);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].technique, "Main");
    EXPECT_TRUE(Log()[0].indexed);
    EXPECT_EQ(Log()[0].primitiveCount, 128u);
    EXPECT_EQ(Log()[0].state.Get(gfx::RenderState::ClipPlaneEnable), 0u) << "off while drawn";
    uint32_t clip = 0;
    ASSERT_EQ(device_->GetRenderState(gfx::RenderState::ClipPlaneEnable, &clip), gfx::kOk);
    EXPECT_EQ(clip, 5u);
    EXPECT_EQ(readers, 0);
  }
  device_->SetRenderState(gfx::RenderState::ClipPlaneEnable, 0);
}

using FirePixelsTest = BrushFrameTest;

TEST_F(FirePixelsTest, TheBandBurnsAlongTheLowerEdgeAndFlickers) {
  StartSlideOn(renderer_, 64, 64, 0xFF101020);
  Frame(renderer_);
  const std::vector<uint32_t> night = BackBufferPixels();
  // Heat growing down the pattern, and noise that varies across it and down.
  std::vector<uint32_t> heat(64 * 64);
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x)
      heat[y * 64 + x] = (y * 4) << 24 | (y * 4) << 16 | (y * 4) << 8 | (y * 4);
  DS_FireFX fire;
  fire.patternLink = DS_ImageFileLink(u"flames.dll", 1);
  fire.noiseLink = DS_ImageFileLink(u"flames.dll", 2);
  ProvidePicture(fire.patternLink, 64, 64, 64, 64, heat);
  std::vector<uint32_t> noise(64 * 64);
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x)
      noise[y * 64 + x] = 0xFF000000 | ((x * 4 + y * 12) & 0xFF) * 0x010101;
  ProvidePicture(fire.noiseLink, 64, 64, 64, 64, noise);
  fire.maskQuad.SetRect(64, 24, D3DXVECTOR3(32, 52, 0));
  auto object = MakeObject(fire);
  const auto first = FrameAfter(object, 0.0f, 0.5f);
  const auto [inside, outside] =
      RegionDifferences(first, night, [](uint32_t, uint32_t y) { return y >= 40; });
  EXPECT_GT(inside, 100) << "it burns in its quad";
  EXPECT_LE(outside, 2) << "and nowhere else";
  EXPECT_GT(MaxDifference(first, FrameAfter(object, 0.6f, 1.2f)), 30) << "the flames rise";

  fire.timing.SetTiming(std::make_unique<FixedTimeline>(0.0f));
  auto hidden = MakeObject(fire);
  EXPECT_LE(MaxDifference(FrameAfter(hidden, 0.0f, 0.5f), night), 2) << "hidden";
}

}  // namespace
}  // namespace fx_test
