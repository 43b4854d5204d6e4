// What the layer, heat and bump brushes set on their effects, read back with the effect's
// getters, on an 800 x 600 picture; the blur's own targets; the pattern's frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "fx/fx_fixture.h"
#include "fx/layer/ds_blure_fx.h"
#include "fx/layer/ds_erase_layer_fx.h"
#include "fx/layer/ds_pattern_brush.h"
#include "fx/relief/ds_bump_fx.h"
#include "fx/relief/ds_heat_distortion.h"

namespace fx_test {
namespace {

class LayerValuesTest : public BrushValuesTest {
 protected:
  // The draws the device logged since the log was cleared.
  size_t Draws() {
    return size_t(std::count_if(Log().begin(), Log().end(), [](const gfx::FrameLogEntry& e) {
      return e.kind == gfx::FrameLogEntry::Kind::Draw;
    }));
  }

  // A picture of `width` x `height` units under `link` with one solid frame per delay.
  void ProvideFrames(const DS_ImageFileLink& link, uint32_t width, uint32_t height,
                     const std::vector<float>& delays) {
    ProvidePicture(link, width, height, 0xFFFFFFFF);
    ImageTextureSet& set = Doc().imageTextureSets[link.Key()];
    set.delays = delays;
    while (set.textures.size() < delays.size())
      set.textures.push_back(MakeTexture(1, 1, {0xFF000000u + uint32_t(set.textures.size())}));
  }

  static ComRef<gfx::Texture> TextureOf(const DS_FX_Constructor& brush, const char* name) {
    gfx::Texture* texture = nullptr;
    EXPECT_EQ(brush.effect->GetTexture(name, &texture), gfx::kOk) << name;
    return ComRef<gfx::Texture>(texture);
  }
};

TEST_F(LayerValuesTest, EraseKeepsTheOutsideOrTheInsideOfItsMask) {
  DS_EraseLayerFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2114);
  EXPECT_EQ(brush.mode.Value(), 2);
  ExpectNear(Values(Drawn(brush), "mask_mod", 2), {1, -1});
  brush.maskSense.SetValue(5);
  ExpectNear(Values(Drawn(brush), "mask_mod", 2), {0, 1});
}

TEST_F(LayerValuesTest, BlurRadiusPulsesAndFadesInThreePasses) {
  DS_BlureFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2115);
  brush.radius.SetValue(10);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  object_ = MakeObject(brush);
  ClearLog();
  object_->Draw(canvas_);
  DS_FX_Constructor& drawn = Brushed(object_).Brush();
  ExpectNear(Values(drawn, "Radius", 1), {5}, 1e-6f, "pulse mode 0: half the radius");
  ExpectNear(Values(drawn, "PixelSize", 2), {1.0f / 800, 0}, 1e-9f, "the last pass across");
  EXPECT_EQ(drawn.effect->GetCurrentTechnique(), std::string("FinalPass"));
  ASSERT_EQ(Draws(), 3u);
  EXPECT_EQ(Log()[Log().size() - 1].technique, "FinalPass");
  EXPECT_TRUE(TextureOf(drawn, "Background"));

  // The pulse swings the radius between 0 and all of it.
  brush.pulseMode.SetValue(2);  // a sine
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f));
  auto& pulsing = static_cast<DS_BlureFX&>(Drawn(brush));
  pulsing.speed.localTime = 3.1415927f / 2;
  pulsing.Draw(canvas_);
  ExpectNear(Values(pulsing, "Radius", 1), {5}, 1e-5f);
}

TEST_F(LayerValuesTest, BlurTargetsTakeTheLargestSizeTheDeviceAccepts) {
  DS_BlureFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2115);
  brush.mode.SetValue(1);
  struct Case {
    uint32_t backBufferWidth;
    uint32_t targetWidth;  // 0: none
  };
  // The device takes textures up to 4096 texels wide: 3, 2 or 1 times the back buffer, or none.
  for (const Case c : {Case{64, 192}, Case{1500, 3000}, Case{3000, 3000}, Case{4200, 0}}) {
    SCOPED_TRACE(c.backBufferWidth);
    GetDeviceValues().backBufferWidth = c.backBufferWidth;
    GetDeviceValues().backBufferHeight = 4;
    object_ = MakeObject(brush);
    auto& blur = static_cast<DS_BlureFX&>(Brushed(object_).Brush());
    if (c.targetWidth != 0) EXPECT_EQ(blur.blurTargets.width, c.targetWidth);
    EXPECT_EQ(blur.ReadyToDraw(), c.targetWidth != 0);
    EXPECT_EQ(object_->NeedsPictureBelow(), c.targetWidth != 0 ? 1 : 0);
    ClearLog();
    object_->Render(canvas_, nullptr);
    EXPECT_EQ(Draws(), c.targetWidth != 0 ? 3u : 0u);
  }
}

TEST_F(LayerValuesTest, ABlurThatLostItsTargetsMakesThemAgainAndDrawsFromTheNextFrame) {
  DS_BlureFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2115);
  brush.mode.SetValue(2);
  object_ = MakeObject(brush);
  auto& blur = static_cast<DS_BlureFX&>(Brushed(object_).Brush());
  ASSERT_TRUE(blur.ReadyToDraw());
  object_->ForwardLostDevice();
  EXPECT_FALSE(blur.blurTargets.textures[0]);
  EXPECT_EQ(object_->NeedsPictureBelow(), 0);
  EXPECT_FALSE(object_->NeedsTargetCopy());
  ClearLog();
  object_->Render(canvas_, nullptr);
  EXPECT_EQ(Draws(), 0u) << "this frame announced no reader";
  EXPECT_TRUE(blur.ReadyToDraw());
  EXPECT_EQ(object_->NeedsPictureBelow(), 1);
  EXPECT_TRUE(object_->NeedsTargetCopy());
  object_->Render(canvas_, nullptr);
  EXPECT_EQ(Draws(), 3u);
}

TEST_F(LayerValuesTest, ThePatternTilesThePictureAtItsOwnSize) {
  DS_PatternBrush brush;
  brush.patternLink = DS_ImageFileLink(u"tile.png", 3);
  ProvideFrames(brush.patternLink, 200, 100, {});
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f));
  DS_FX_Constructor& drawn = Drawn(brush);
  ExpectNear(Values(drawn, "scale", 2), {2, 1});
  ExpectNear(Values(drawn, "coord_transf", 4), {4, 0, 0, 6});
  ExpectNear(Values(drawn, "offset", 2), {0, 0});
  ExpectNear(Values(drawn, "mix_color", 4), {1, 1, 1, 0.5f}, 1e-6f, "time mode 1 fades it");
  EXPECT_TRUE(TextureOf(drawn, "Pattern"));

  // Half the size, turned by 90 degrees, mirrored across and shifted.
  brush.patternScale.SetValue(50);
  brush.patternAngle.SetValue(90);
  brush.flipHorizontal.SetValue(1);
  brush.offsetX.SetValue(20);
  brush.offsetY.SetValue(30);
  DS_FX_Constructor& turned = Drawn(brush);
  ExpectNear(Values(turned, "coord_transf", 4), {0, -8, -12, 0}, 1e-5f);
  ExpectNear(Values(turned, "offset", 2), {-0.2f, 0.3f});
}

TEST_F(LayerValuesTest, APatternOfNoSizeOrScaleDrawsNothing) {
  struct Case {
    const char* name;
    uint32_t width, height;
    unsigned scale;
  };
  for (const Case c : {Case{"no width", 0, 100, 100}, Case{"no height", 200, 0, 100},
                       Case{"scale 0", 200, 100, 0}, Case{"no picture", 0, 0, 100}}) {
    SCOPED_TRACE(c.name);
    DS_PatternBrush brush;
    brush.patternLink = DS_ImageFileLink(u"tile.png", int64_t(c.width * 1000 + c.height));
    if (c.width + c.height > 0) ProvideFrames(brush.patternLink, c.width, c.height, {});
    brush.patternScale.SetValue(c.scale);
    object_ = MakeObject(brush);
    ClearLog();
    object_->Draw(canvas_);
    EXPECT_EQ(Draws(), 0u);
  }
}

TEST_F(LayerValuesTest, PatternFramesFollowTheirDelaysWithThePhase) {
  DS_PatternBrush brush;
  brush.patternLink = DS_ImageFileLink(u"frames.png", 4);
  ProvideFrames(brush.patternLink, 16, 16, {0.55f, 0.55f});
  object_ = MakeObject(brush);
  auto& pattern = static_cast<DS_PatternBrush&>(Brushed(object_).Brush());
  std::vector<uint32_t> shown;
  // Speed 1 a second: a frame changes once its delay is passed, timed from that frame.
  for (int frame = 0; frame <= 12; ++frame) {
    object_->AdvanceTime(0.1f * float(frame));
    shown.push_back(pattern.patternFrames.frameIndex);
  }
  EXPECT_EQ(shown, (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 0}));
  object_->Draw(canvas_);
  EXPECT_EQ(TextureOf(pattern, "Pattern").Get(), pattern.patternFrames.textures[0].Get());
}

TEST_F(LayerValuesTest, HeatScrollsItsBumpPictureWithAClockOfItsOwn) {
  DS_HeatDistortion brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 63);
  brush.strength.SetValue(100);
  brush.heatSpeed.SetValue(500);  // 0.5 a second
  auto& drawn = static_cast<DS_HeatDistortion&>(Drawn(brush, 1.0f));
  ExpectNear(Values(drawn, "bump_scale", 2), {1, 0.75f});
  ExpectNear(Values(drawn, "stenght", 1), {0.01f});
  ExpectNear(Values(drawn, "Offset", 2), {0.5f, -0.5f}, 1e-5f);
  EXPECT_TRUE(TextureOf(drawn, "Bumpmap")) << "glimres.dll #62";
  drawn.heatSpeed.localTime = 2.5f;
  drawn.Draw(canvas_);
  ExpectNear(Values(drawn, "Offset", 2), {2.5f, -2.5f});
  object_->Restart();
  EXPECT_EQ(drawn.Phase(), 0.0f);
  EXPECT_EQ(drawn.heatSpeed.localTime, 2.5f) << "a restart leaves the heat clock";
}

TEST_F(LayerValuesTest, TheBumpLightComesFromItsElevationAndAzimuth) {
  DS_BumpFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2116);
  brush.bumpPicture = DS_ImageFileLink(u"glimres.dll", 89);
  brush.maskQuad.SetRect(400, 300, D3DXVECTOR3(400, 300, 0));
  brush.pulseMode.SetValue(0);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  ClearLog();
  DS_FX_Constructor& drawn = Drawn(brush);
  ExpectNear(Values(drawn, "LightDir", 3), {-0.7071068f, -0.0f, 0.7071068f});
  ExpectNear(Values(drawn, "AmbientLight", 1), {0.29289323f});
  ExpectNear(Values(drawn, "BumpStep", 2), {1.0f / 128, 1.0f / 128});
  ExpectNear(Values(drawn, "BumpTexScale", 4), {0.25f, 0.25f, 2, 2});
  ExpectNear(Values(drawn, "Animator", 2), {10, 0});
  EXPECT_TRUE(TextureOf(drawn, "Bumpmap1"));
  ASSERT_FALSE(Log().empty());
  EXPECT_TRUE(Log().back().indexed) << "mode 0 draws the mask quad's grid";
  EXPECT_EQ(Log().back().technique, "Main");

  brush.lightAzimuth.SetValue(90);
  brush.lightElevation.SetValue(30);
  ExpectNear(Values(Drawn(brush), "LightDir", 3), {0, -std::cos(0.5235988f), 0.5f}, 1e-6f);
}

TEST_F(LayerValuesTest, TheBumpReliefFollowsTheTimelineByItsAnimatorMode) {
  DS_BumpFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2116);
  brush.pulseMode.SetValue(0);
  struct Case {
    float timeline;
    int animatorMode;
    Floats animator;
  };
  const Case cases[] = {
      {1.0f, 1, {10, 0}}, {0.5f, 1, {10, 0.5f}}, {0.5f, 0, {5, 0}}, {0.5f, 2, {10, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.timeline << " in mode " << c.animatorMode);
    brush.timing.SetTiming(std::make_unique<FixedTimeline>(c.timeline));
    brush.animatorMode.SetValue(c.animatorMode);
    ExpectNear(Values(Drawn(brush), "Animator", 2), c.animator);
  }
  // A pulse of type mode + 1: the triangle wave, at its middle at phase 0.
  brush.pulseMode.SetValue(1);
  brush.animatorMode.SetValue(0);
  brush.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f));
  ExpectNear(Values(Drawn(brush), "Animator", 2), {5, 0});
}

TEST_F(LayerValuesTest, ABumpWithoutPictureOrQuadSendsFiniteValues) {
  DS_BumpFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2116);
  brush.mode.SetValue(1);
  ClearLog();
  DS_FX_Constructor& drawn = Drawn(brush);
  ExpectNear(Values(drawn, "BumpStep", 2), {0, 0});
  ExpectNear(Values(drawn, "BumpTexScale", 4), {0, 0, 0, 0});
  EXPECT_FALSE(TextureOf(drawn, "Bumpmap1"));
  ASSERT_FALSE(Log().empty());
  EXPECT_FALSE(Log().back().indexed) << "mode 1 draws the whole picture";
  EXPECT_EQ(Log().back().technique, "MainFX");
}

}  // namespace
}  // namespace fx_test
