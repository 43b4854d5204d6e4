#include <gtest/gtest.h>

#include <cmath>

#include "renderer_fixture.h"
#include "renderers/flame/ds_flame_light.h"

namespace renderer_test {
namespace {

// The four (x, y) of a quad's vertices.
std::vector<std::pair<float, float>> Corners(SimpleMesh& quad) {
  std::vector<std::pair<float, float>> out;
  if (!quad.vertices.Lock()) return out;
  const auto* v = static_cast<const TexVertex*>(quad.vertices.locked);
  for (int i = 0; i < 4; ++i)
    out.emplace_back(v[i].x, v[i].y);
  quad.vertices.Unlock();
  return out;
}

class FlameTest : public RendererTest {
 protected:
  static constexpr uint32_t kNight = 0xFF102040;

  FlameTest() : RendererTest(64, 64) {}

  std::vector<uint32_t> FrameAt(DS_2D_Light& renderer, float t) {
    renderer.Update(t);
    Frame(renderer);
    return BackBufferPixels();
  }

  float Value(gfx::Effect* effect, const char* name, int index = 0) {
    float values[4] = {};
    EXPECT_EQ(effect->GetFloatArray(name, values, 4), gfx::kOk) << name;
    return values[index];
  }
};

TEST_F(FlameTest, RecordsOfBothVersions) {
  DS_FlameLight renderer;
  EXPECT_EQ(renderer.fire->patternLink.Key(), (LinkKey{u"glimres.dll", 7}));
  EXPECT_EQ(renderer.fire->noiseLink.Key(), (LinkKey{u"glimres.dll", 8}));
  renderer.fireOn.SetValue(0);
  renderer.fireHeight.SetValue(40);
  renderer.distortion.strength.SetValue(60);
  renderer.fire->brightness.SetValue(30);
  const auto bytes = Written([&](DS_IOF_Archive& a) { renderer.Save(a); });
  auto back = ReadRenderer(bytes);
  auto* read = dynamic_cast<DS_FlameLight*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->fireOn.Value(), 0);
  EXPECT_EQ(read->fireHeight.Value(), 40u);
  EXPECT_FLOAT_EQ(read->distortion.strength.Scaled(), 0.12f);
  EXPECT_EQ(read->fire->brightness.Value(), 30u);
  EXPECT_EQ(read->fire->patternLink.id, 7);
  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { read->Save(a); }), bytes);

  // Version 1: the fire's speed follows the fire height; two picture links are dropped and the
  // fire keeps the flame's defaults.
  const auto v1 = Written([](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"DS_FlameLight");
    io.WriteDword(1);
    io.WriteInt32(1);
    io.WriteInt32(0);
    io.WriteUInt32(20);
    io.WriteUInt32(75);  // the fire's speed
    io.WriteWideString(u"bumps.dll");
    io.WriteInt64(4);
    io.WriteWideString(u"effects.dll");
    io.WriteInt64(5);
    io.WriteUInt32(100);
    io.WriteUInt32(10);
    io.WriteUInt32(0);
    for (int i = 0; i < 2; ++i) {
      io.WriteWideString(u"dropped.png");
      io.WriteInt64(i);
    }
    DS_2D_Light().Save(a);
  });
  back = ReadRenderer(v1);
  read = dynamic_cast<DS_FlameLight*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->distortionOn.Value(), 0);
  EXPECT_EQ(read->fireHeight.Value(), 20u);
  EXPECT_EQ(read->fire->speed.Value(), 75u);
  EXPECT_FLOAT_EQ(read->fire->speed.Scaled(), 1.5f);
  EXPECT_EQ(read->fire->patternLink.id, 7);
  EXPECT_EQ(read->distortion.bumpLink.Key(), (LinkKey{u"bumps.dll", 4}));
  EXPECT_EQ(read->distortion.effectLink.Key(), (LinkKey{u"effects.dll", 5}));
  EXPECT_FLOAT_EQ(read->distortion.speed.Scaled(), 0.1f);
  EXPECT_FLOAT_EQ(read->distortion.bump.Scaled(), 1.0f);
}

TEST_F(FlameTest, DistortionValuesAndClock) {
  DS_FlameLight renderer;
  StartSlideOn(renderer, 800, 600, kNight);
  gfx::Effect* effect = renderer.distortion.effect.Get();
  ASSERT_NE(effect, nullptr) << "effect 63 is built in";
  EXPECT_TRUE(renderer.distortion.bumpTexture);
  renderer.Update(0.0f);
  EXPECT_FLOAT_EQ(Value(effect, "stenght"), 0.0025f);
  EXPECT_FLOAT_EQ(Value(effect, "bump_scale", 0), 0.208f);
  EXPECT_FLOAT_EQ(Value(effect, "bump_scale", 1), 0.208f * 0.75f);
  renderer.Update(0.1f);
  EXPECT_NEAR(Value(effect, "Offset", 0), 0.005f, 1e-6f) << "0.05 a second";
  EXPECT_NEAR(Value(effect, "Offset", 1), -0.005f, 1e-6f);
  renderer.Update(1.1f);
  EXPECT_NEAR(Value(effect, "Offset", 0), 0.015f, 1e-6f) << "a gap of a second steps 0.2 s";
}

TEST_F(FlameTest, TheFireBandLiesOnTheLowerPartOfThePicture) {
  DS_FlameLight renderer;
  StartSlideOn(renderer, 800, 600, kNight);
  using C = std::vector<std::pair<float, float>>;
  EXPECT_EQ(Corners(renderer.fireQuad), (C{{0, 210}, {800, 210}, {0, 600}, {800, 600}}));
  renderer.fireHeight.SetValue(100);
  renderer.RefreshView();
  EXPECT_EQ(Corners(renderer.fireQuad), (C{{0, 510}, {800, 510}, {0, 900}, {800, 900}}));
  EXPECT_EQ(Corners(renderer.distortion.quad), (C{{0, 600}, {0, 0}, {800, 600}, {800, 0}}));
}

TEST_F(FlameTest, APictureWithoutWidthKeepsTheRatioFinite) {
  DS_FlameLight renderer;
  renderer.backgroundLink = DS_ImageFileLink(u"missing.png", 1);  // nothing stored for it
  StartSlide(renderer);
  EXPECT_EQ(renderer.PictureSize().width, 0u);
  EXPECT_EQ(renderer.distortion.ratio, 1.0f);
  renderer.Update(0.0f);
  EXPECT_TRUE(std::isfinite(Value(renderer.distortion.effect.Get(), "bump_scale", 1)));
}

TEST_F(FlameTest, TheBandBurnsBelowAndLeavesThePictureAboveIt) {
  ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 64, 64, kNight);
  DS_FlameLight renderer;
  renderer.distortionOn.SetValue(0);
  StartSlide(renderer);
  ASSERT_TRUE(renderer.fire->effect) << "effect 92 is built in";
  renderer.Update(0.0f);
  const auto first = FrameAt(renderer, 0.1f);
  const auto later = FrameAt(renderer, 0.3f);
  // The band's top is 35 % down the picture (22.4 pixels).
  for (uint32_t y = 0; y < 22; ++y)
    for (uint32_t x = 0; x < 64; ++x)
      ASSERT_EQ(first[y * 64 + x], kNight) << x << ", " << y;
  const std::vector<uint32_t> bottom(first.begin() + 48 * 64, first.end());
  EXPECT_GT(MaxDifference(bottom, std::vector<uint32_t>(bottom.size(), kNight)), 100)
      << "flames at the foot";
  EXPECT_GT(MaxDifference(first, later), 30) << "the flames move with the phase";
}

TEST_F(FlameTest, TheHeatHazeMovesEdgesByItsStrength) {
  ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 64, 64, 64, 64,
                 Stripes(64, 64, 8, 0xFF000000, 0xFFFFFFFF));
  DS_2D_Light plain;
  StartSlide(plain);
  Frame(plain);
  const auto picture = BackBufferPixels();

  for (unsigned strength : {0u, 5000u}) {
    SCOPED_TRACE(strength);
    DS_FlameLight renderer;
    renderer.fireOn.SetValue(0);
    renderer.distortion.strength.SetValue(strength);
    StartSlide(renderer);
    ASSERT_EQ(renderer.distortionOn.Value(), 1);
    renderer.Update(0.0f);
    const auto frame = FrameAt(renderer, 0.5f);
    if (strength == 0) {
      EXPECT_LE(MaxDifference(frame, picture), 2);
    } else {
      EXPECT_GT(MaxDifference(frame, picture), 200);
    }
  }
}

TEST_F(FlameTest, WithoutTheDistortionNothingIsDrawnOffScreen) {
  ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 64, 64, kNight);
  for (bool noEffect : {false, true}) {
    SCOPED_TRACE(noEffect ? "no effect" : "switched off");
    DS_FlameLight renderer;
    if (noEffect) {
      renderer.distortion.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1);
    } else {
      renderer.distortionOn.SetValue(0);
    }
    StartSlide(renderer);
    EXPECT_EQ(renderer.distortionOn.Value(), 0);
    EXPECT_FALSE(renderer.NeedsOffscreenPass());
    renderer.Update(0.5f);
    ClearLog();
    renderer.DrawBackground(nullptr);
    renderer.RenderObjects({}, 0);
    const uint64_t backBuffer = BackBuffer()->Id();
    for (const gfx::FrameLogEntry& entry : Log())
      EXPECT_EQ(entry.target, backBuffer);
    ClearLog();
    renderer.Compose(nullptr);
    ASSERT_EQ(Log().size(), 4u) << "the four border bars";
    for (const gfx::FrameLogEntry& entry : Log()) {
      EXPECT_EQ(entry.target, backBuffer);
      EXPECT_EQ(entry.state.fvf, gfx::Fvf::Xyz | gfx::Fvf::Diffuse);
    }
  }
}

}  // namespace
}  // namespace renderer_test
