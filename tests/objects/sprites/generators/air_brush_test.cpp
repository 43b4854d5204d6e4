// What the air-brush kinds write into their layers frame by frame: sparkles that grow, shrink
// and restart, stars that twinkle, dabs of an animated picture, an aurora's waves.
#include <cmath>
#include <numbers>

#include "core/crt_rand.h"
#include "generator_fixture.h"
#include "objects/sprites/generators/ds_aurora.h"
#include "objects/sprites/generators/ds_bling.h"
#include "objects/sprites/generators/ds_custom_air_brush.h"
#include "objects/sprites/generators/ds_twinkling_stars.h"
#include "objects/sprites/generators/particle_processes.h"

namespace generator_test {
namespace {

using P = GeneratorParticle;

class AirBrushTest : public SpriteTest {};

// A sparkle of rise 0.5 s and fall 1.5 s on a clock at real speed, size 10, spin still.
DS_Bling Sparkle(unsigned minimumSize = 0) {
  DS_Bling bling;
  bling.twinkleSpeed.SetValue(50);
  bling.spinSpeed.SetValue(0);
  bling.riseTime.SetValue(50);
  bling.fallTime.SetValue(150);
  bling.minimumSize.SetValue(minimumSize);
  bling.size.SetValue(10);
  bling.dabs.emplace_back(D3DXVECTOR3(30, 15, 0));
  bling.dabs.back().channels[9] = 0.0f;
  return bling;
}

// The clone's sparkle made to start from nothing now (attaching gave it a random phase).
void RestartSparkle(DS_Bling& clone) {
  P& sparkle = clone.dabs.front();
  sparkle.ClearProcesses();
  clone.SetupSparkle(sparkle);
}

// Grows to full size over the rise (to within the last step, which meets the window's strict
// edge), is gone when its life ends after rise + fall, and starts again from nothing.
TEST_F(AirBrushTest, ASparkleGrowsShrinksAndStartsAgain) {
  DS_Bling bling = Sparkle();
  auto run = StartRuntime(bling);
  DS_Bling& clone = run.Clone();
  RestartSparkle(clone);
  const P& sparkle = clone.dabs.front();
  float t = 0.0f;
  run.obj->Update(t);
  auto advanceTo = [&](float end) {
    while (t < end - 1e-4f)
      run.obj->Update(t += 0.001f);
  };
  advanceTo(0.5f);
  EXPECT_NEAR(sparkle.channels[P::kScale], 1.0f, 0.01f);
  std::vector<DX_V::PCT> v = LayerVertices(*run.obj, 1);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_NEAR(QuadExtent(v, 0).first, 10.0f, 0.1f);
  advanceTo(1.25f);
  EXPECT_NEAR(sparkle.channels[P::kScale], 0.5f, 0.01f);
  advanceTo(1.99f);
  EXPECT_NEAR(sparkle.channels[P::kScale], 0.0f, 0.02f);
  advanceTo(2.01f);
  EXPECT_LT(sparkle.channels[P::kScale], 0.05f) << "started again";
  EXPECT_LT(sparkle.channels[P::kLife], 0.01f);
  EXPECT_EQ(sparkle.processes.size(), 3u);
  advanceTo(2.26f);
  EXPECT_NEAR(sparkle.channels[P::kScale], 0.5f, 0.02f);
  v = LayerVertices(*run.obj, 0);
  EXPECT_NEAR(QuadExtent(v, 0).first, 5.0f, 0.2f) << "layer 0 the same quad";
}

TEST_F(AirBrushTest, AMinimumSizeOfAHundredAlwaysDrawsFullSize) {
  DS_Bling bling = Sparkle(100);
  bling.dabs.back().channels[6] = 2.0f;  // size factor
  auto run = StartRuntime(bling);
  RestartSparkle(run.Clone());
  float t = 0.0f;
  for (int i = 0; i < 30; ++i) {
    run.obj->Update(t += 0.1f);
    const std::vector<DX_V::PCT> v = LayerVertices(*run.obj, 0);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(QuadExtent(v, 0).first, 20.0f, 1e-3f) << t;
  }
}

// The spin clock turns every sparkle from its start angle; colour 2 goes to layer 0 and colour
// 1 to layer 1, at the sparkle's opacity times the timeline's value.
TEST_F(AirBrushTest, SparklesTurnWithTheSpinClockInTheirColours) {
  DS_Bling bling = Sparkle(100);
  bling.spinSpeed.SetValue(50);  // a radian a second
  bling.dabs.back().channels[9] = 0.25f;
  bling.dabs.back().channels[P::kOpacity] = 0.5f;
  bling.colour1.SetValue(0x0000FF);
  bling.colour2.SetValue(0xFF0000);
  SetTimelineValue(bling, 0.5f);
  auto run = StartRuntime(bling);
  run.obj->Update(0.0f);
  run.obj->Update(0.1f);
  run.obj->Update(0.2f);
  const std::vector<DX_V::PCT> v0 = LayerVertices(*run.obj, 0);
  const std::vector<DX_V::PCT> v1 = LayerVertices(*run.obj, 1);
  ASSERT_EQ(v0.size(), 4u);
  // Corner 3 lies at centre + k(U - V), U and V turned by 0.25 + 0.2 radians.
  const float a = 0.45f, k = 5.0f;
  EXPECT_NEAR(v0[3].x, 30 + k * (std::cos(a) + std::sin(a)), 1e-3f);
  EXPECT_NEAR(v0[3].y, 15 + k * (std::sin(a) - std::cos(a)), 1e-3f);
  EXPECT_EQ(v0[0].diffuse, 0x400000FFu);  // 255 x 0.5 x 0.5, rounded
  EXPECT_EQ(v1[0].diffuse, 0x40FF0000u);
  EXPECT_EQ(v1[3].x, v0[3].x);
}

// Added sparkles carry a size factor, a start angle in turns, a random phase; attaching starts
// every sparkle afresh, once.
TEST_F(AirBrushTest, AddedSparklesStartAtARandomPhase) {
  DS_Bling bling = Sparkle();
  bling.dabs.clear();
  crt_srand(4);
  bling.AddParticle(D3DXVECTOR3(1, 2, 0), 1.5f, 0.0f, 0.5f, 0.0f);
  ASSERT_EQ(bling.dabs.size(), 1u);
  const P& added = bling.dabs.front();
  EXPECT_FLOAT_EQ(added.channels[6], 1.5f);
  EXPECT_FLOAT_EQ(added.channels[9], 3.1415927f);
  EXPECT_EQ(added.processes.size(), 3u);
  EXPECT_GT(added.channels[P::kLife], 0.0f) << "a pre-run";
  auto run = StartRuntime(bling);
  EXPECT_EQ(run.Clone().dabs.front().processes.size(), 3u);
}

// Zero times guard their divisions: nothing grows, nothing becomes NaN or infinite.
TEST_F(AirBrushTest, ZeroTimesGiveNoInfiniteQuads) {
  DS_Bling bling = Sparkle();
  bling.riseTime.SetValue(0);
  bling.fallTime.SetValue(0);
  auto run = StartRuntime(bling);
  float t = 0.0f;
  for (int i = 0; i < 5; ++i)
    run.obj->Update(t += 0.1f);
  for (const DX_V::PCT& vertex : LayerVertices(*run.obj, 0)) {
    EXPECT_TRUE(std::isfinite(vertex.x));
    EXPECT_TRUE(std::isfinite(vertex.y));
  }
}

// When layer 1 cannot be locked the frame writes nothing and layer 0 is not left locked.
TEST_F(AirBrushTest, ASparkleFrameThatCannotLockBothLayersWritesNothing) {
  DS_Bling bling = Sparkle(100);
  auto run = StartRuntime(bling);
  run.obj->Update(0.0f);
  const std::vector<DX_V::PCT> before = LayerVertices(*run.obj, 0);
  run.obj->SetLayerCount(1);
  run.Clone().dabs.front().position = D3DXVECTOR3(5, 5, 0);
  run.obj->Update(0.1f);
  EXPECT_EQ(run.obj->Layer(0).vertices.locked, nullptr);
  const std::vector<DX_V::PCT> after = LayerVertices(*run.obj, 0);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after[0].x, before[0].x);
}

// A star gets its scale and a random opacity; stars read or added get exactly one twinkle when
// attached, whose flashes stay within 1.5 times the scale.
TEST_F(AirBrushTest, StarsTwinkleAroundTheirScale) {
  DS_TwinklingStars stars;
  stars.size.SetValue(8);
  crt_srand(9);
  stars.AddParticle(D3DXVECTOR3(10, 10, 0), 2.0f, 0, 0, 0);
  stars.dabs.emplace_back(D3DXVECTOR3(40, 10, 0));  // as read: no processes
  const float opacity = stars.dabs.front().channels[P::kOpacity];
  EXPECT_GE(opacity, 0.5f);
  EXPECT_LE(opacity, 1.0f);
  EXPECT_EQ(stars.dabs.front().processes.size(), 1u);
  auto run = StartRuntime(stars);
  DS_TwinklingStars& clone = run.Clone();
  for (const P& star : clone.dabs)
    EXPECT_EQ(star.processes.size(), 1u);
  float t = 0.0f;
  bool flashed = false;
  for (int i = 0; i < 200; ++i) {
    run.obj->Update(t += 0.05f);
    const float scale = clone.dabs.front().channels[P::kScale];
    EXPECT_GE(scale, 2.0f);
    EXPECT_LE(scale, 3.0f);
    flashed = flashed || scale > 2.0f;
    const std::vector<DX_V::PCT> v = LayerVertices(*run.obj, 0);
    ASSERT_EQ(v.size(), 8u);
    EXPECT_NEAR(QuadExtent(v, 0).first, 8.0f * scale, 1e-3f);
  }
  EXPECT_TRUE(flashed);
}

// The dabs of a custom air brush take their picture's aspect and are written once; the picture's
// frames cycle by their delays on the frame clock.
TEST_F(AirBrushTest, CustomDabsAreWrittenOnceAndTheirPictureCycles) {
  const DS_ImageFileLink own(u"dab.png", 3);
  ProvidePicture(own, 20, 10, 0xFFFFFFFF);
  ImageTextureSet& set = Doc().imageTextureSets[own.Key()];
  set.textures.push_back(set.textures.front());
  set.delays = {0.5f, 0.5f};
  DS_CustomAirBrush brush;
  brush.ownPicture = own;
  brush.size.SetValue(12);
  brush.frameSpeed.SetValue(100);  // real time
  brush.dabs.emplace_back(D3DXVECTOR3(30, 15, 0));
  auto run = StartRuntime(brush);
  DS_CustomAirBrush& clone = run.Clone();
  EXPECT_FLOAT_EQ(clone.aspect, 0.5f);
  std::vector<DX_V::PCT> v = LayerVertices(*run.obj, 0);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(QuadExtent(v, 0), std::make_pair(12.0f, 6.0f));

  clone.dabs.front().position = D3DXVECTOR3(0, 0, 0);
  float t = 0.0f;
  run.obj->Update(t);
  std::vector<uint32_t> frames;
  for (int i = 0; i < 12; ++i) {
    run.obj->Update(t += 0.1f);
    frames.push_back(clone.ownFrames.frameIndex);
  }
  EXPECT_EQ(frames, (std::vector<uint32_t>{0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0}));
  EXPECT_EQ(QuadCentre(LayerVertices(*run.obj, 0), 0), D3DXVECTOR3(30, 15, 0))
      << "not written again";
}

TEST_F(AirBrushTest, AnAirBrushWithoutDabsWritesNoQuads) {
  DS_TwinklingStars stars;
  auto run = StartRuntime(stars);
  run.obj->Update(0.0f);
  run.obj->Update(0.1f);
  EXPECT_EQ(run.obj->QuadCount(0), 0u);
  std::vector<ScreenRect> rects;
  run.obj->AppendScreenRects(rects);
  EXPECT_TRUE(rects.empty());
}

// A curtain 6 wide and 20 high.
DS_Aurora Curtain() {
  DS_Aurora aurora;
  aurora.size.SetValue(6);
  aurora.curtainHeight.SetValue(20);
  aurora.colour1.alpha.SetValue(0);
  for (float x : {10.0f, 30.0f})
    aurora.AddParticle(D3DXVECTOR3(x, 16, 0), 1, 2, 3, 4);
  return aurora;
}

TEST_F(AirBrushTest, AnAuroraWithoutWavesDrawsCurtainsAtTheDabs) {
  DS_Aurora aurora = Curtain();
  aurora.dabs.back().channels[P::kOpacity] = 0.5f;
  EXPECT_EQ(aurora.dabs.front().channels[P::kLife], 0.0f);
  SetTimelineValue(aurora, 0.0f);  // not applied
  auto run = StartRuntime(aurora);
  EXPECT_EQ(run.obj->QuadCount(0), 0u) << "nothing before the first update";
  run.obj->Update(0.0f);
  run.obj->Update(0.1f);
  const std::vector<DX_V::PCT> v = LayerVertices(*run.obj, 0);
  ASSERT_EQ(v.size(), 8u);
  EXPECT_EQ(QuadExtent(v, 0), std::make_pair(6.0f, 20.0f));
  EXPECT_EQ(QuadCentre(v, 1), D3DXVECTOR3(30, 16, 0));
  EXPECT_EQ(v[0].diffuse >> 24, 255u);
  EXPECT_EQ(v[4].diffuse >> 24, 128u);
}

// Phases of a quarter wave put every wave at its crest: the curtain stretched by its amount,
// brightened (the alpha factor clamped), moved by the sway amount in the sway direction. With
// speeds of 0 it stands still.
TEST_F(AirBrushTest, AuroraWavesStretchBrightenAndSway) {
  struct Case {
    unsigned direction;
    float dx, dy;
  };
  for (const Case& c : {Case{90, 0, 5}, Case{0, 5, 0}}) {
    SCOPED_TRACE(c.direction);
    DS_Aurora aurora = Curtain();
    aurora.stretchAmount.SetValue(50);
    aurora.glowAmount.SetValue(100);
    aurora.swayAmount.SetValue(5);
    aurora.swayDirection.SetValue(c.direction);
    aurora.colour1.alpha.SetValue(50);  // byte 127
    for (MediaSpeedParam* speed : {&aurora.stretchSpeed, &aurora.glowSpeed, &aurora.swaySpeed})
      speed->SetValue(0);
    for (P& dab : aurora.dabs)
      dab.channels[P::kLife] = std::numbers::pi_v<float> / 2;
    auto run = StartRuntime(aurora);
    float t = 0.0f;
    for (int i = 0; i < 5; ++i) {
      run.obj->Update(t += 0.1f);
      const std::vector<DX_V::PCT> v = LayerVertices(*run.obj, 0);
      ASSERT_EQ(v.size(), 8u);
      const auto [w, h] = QuadExtent(v, 0);
      EXPECT_NEAR(w, 6.0f, 1e-3f);
      EXPECT_NEAR(h, 30.0f, 1e-3f);
      const D3DXVECTOR3 centre = QuadCentre(v, 0);
      EXPECT_NEAR(centre.x, 10 + c.dx, 1e-3f);
      EXPECT_NEAR(centre.y, 16 + c.dy, 1e-3f);
      EXPECT_EQ(v[0].diffuse >> 24, 254u);  // 127 x 2
    }
    EXPECT_EQ(run.Clone().dabs.front().position, D3DXVECTOR3(10, 16, 0)) << "set back";
  }
}

TEST_F(AirBrushTest, AuroraWavesTravelWithTheirClocks) {
  DS_Aurora aurora = Curtain();
  aurora.stretchAmount.SetValue(50);
  aurora.stretchSpeed.SetValue(100);  // x 0.03: 3 radians a second
  auto run = StartRuntime(aurora);
  DS_Aurora& clone = run.Clone();
  float t = 0.0f;
  run.obj->Update(t);
  for (int i = 0; i < 5; ++i)
    run.obj->Update(t += 0.1f);
  EXPECT_NEAR(clone.stretchSpeed.localTime, 1.5f, 1e-4f);
  const auto [w, h] = QuadExtent(LayerVertices(*run.obj, 0), 0);
  EXPECT_NEAR(h, 20.0f * (std::sin(1.5f) * 0.5f + 1.0f), 1e-3f);
}

}  // namespace
}  // namespace generator_test
