// What the positioned generators compute without reading pixels: lightning shapes and light,
// radial ray fans, smoke puffs, firework sparks and the animated font's block.
#include <cmath>
#include <set>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/timing/random_timeline.h"
#include "generator_fixture.h"
#include "objects/sprites/generators/ds_animated_font.h"
#include "objects/sprites/generators/ds_firework.h"
#include "objects/sprites/generators/ds_lightning_gn.h"
#include "objects/sprites/generators/ds_radial_rays.h"
#include "objects/sprites/generators/ds_smoke.h"

namespace generator_test {
namespace {

class PositionedGenerators : public SpriteTest {};

D3DXVECTOR3 Lerp(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float t) {
  return a + (b - a) * t;
}

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float tolerance = 1e-3f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

DS_LightningGN Lightning(unsigned depth) {
  DS_LightningGN lightning;
  lightning.start.SetValue(D3DXVECTOR3(10, 20, 0));
  lightning.end.SetValue(D3DXVECTOR3(110, 60, 0));
  lightning.depth.SetValue(depth);
  lightning.jitter.SetValue(50);
  lightning.seed.SetValue(7);
  lightning.coreWidth.SetValue(4);
  lightning.glowWidth.SetValue(12);
  lightning.branchLength.SetValue(50);
  lightning.branchAngle.SetValue(50);
  return lightning;
}

size_t Branches(const Bolt& bolt) {
  size_t n = 0;
  for (const BoltPoint& point : bolt)
    if (!point.branch.empty()) n += 1 + Branches(point.branch);
  return n;
}

TEST_F(PositionedGenerators, LightningOfDepthZeroIsOneCutSegmentWithBothCaps) {
  DS_LightningGN lightning = Lightning(0);
  auto run = StartRuntime(lightning);
  ASSERT_NE(run.obj, nullptr);
  run.obj->Update(0.1f);
  const Bolt& bolt = run.Clone().bolt;
  ASSERT_EQ(bolt.size(), 2u);
  ExpectNear(bolt[0].position, D3DXVECTOR3(10, 20, 0));
  ExpectNear(bolt[1].position, Lerp(D3DXVECTOR3(10, 20, 0), D3DXVECTOR3(110, 60, 0), 0.67f));
  // A start cap, one core quad and an end cap; one glow quad; two end-point sprites.
  EXPECT_EQ(run.obj->QuadCount(0), 3u);
  EXPECT_EQ(run.obj->QuadCount(1), 1u);
  EXPECT_EQ(run.obj->QuadCount(2), 2u);
}

TEST_F(PositionedGenerators, LightningDepthDoublesSegmentsAndIsBounded) {
  const std::pair<unsigned, size_t> cases[] = {{1, 4}, {3, 16}, {10, 2048}, {12, 2048}};
  for (const auto& [depth, points] : cases) {
    SCOPED_TRACE(depth);
    DS_LightningGN lightning = Lightning(depth);
    lightning.Generate();
    EXPECT_EQ(lightning.bolt.size(), points);
    EXPECT_EQ(lightning.bolt.front().position, lightning.start.Value());
  }
}

TEST_F(PositionedGenerators, TheSameSeedGivesTheSameBoltUnlessANewShapeIsAsked) {
  for (int newShape : {0, 1}) {
    SCOPED_TRACE(newShape);
    DS_LightningGN lightning = Lightning(4);
    lightning.firstBranches.SetValue(3);
    lightning.newShape.SetValue(newShape);
    lightning.Generate();
    std::vector<D3DXVECTOR3> first;
    for (const BoltPoint& p : lightning.bolt)
      first.push_back(p.position);
    lightning.Generate();
    bool same = true;
    for (size_t i = 0; i < first.size(); ++i)
      same = same && first[i] == lightning.bolt[i].position;
    EXPECT_EQ(same, newShape == 0);
  }
}

TEST_F(PositionedGenerators, BranchesNeedFirstLevelSlotsAndTakeOnePerPoint) {
  DS_LightningGN none = Lightning(3);
  none.secondBranches.SetValue(5);
  none.thirdBranches.SetValue(5);
  none.Generate();
  EXPECT_EQ(Branches(none.bolt), 0u);

  // Depth 0 has two points: five slots land on at most two of them. The slots' indices are the
  // first five draws after the seed (nothing else draws before them).
  DS_LightningGN crowded = Lightning(0);
  crowded.firstBranches.SetValue(5);
  crowded.Generate();
  crt_srand(7);
  std::set<int> indices;
  for (int i = 0; i < 5; ++i)
    indices.insert(crt_rand() % 2);
  EXPECT_EQ(Branches(crowded.bolt), indices.size());
  for (const BoltPoint& point : crowded.bolt)
    if (!point.branch.empty()) EXPECT_EQ(point.branch.size(), 2u);  // a branch of depth 0
}

TEST_F(PositionedGenerators, ManyBranchesStayWithinTheLayerCap) {
  DS_LightningGN lightning = Lightning(12);
  lightning.firstBranches.SetValue(4000000000u);
  lightning.secondBranches.SetValue(4000000000u);
  lightning.thirdBranches.SetValue(4000000000u);
  lightning.Generate();
  const BoltCounts counts = CountBolt(lightning.bolt);
  EXPECT_LE(counts.segments + 2 * counts.bolts, kMaxParticlesPerList);
  EXPECT_GT(counts.bolts, 1u);
}

TEST_F(PositionedGenerators, LightningBrightnessFollowsTheTimelineState) {
  DS_LightningGN lightning = Lightning(0);
  lightning.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f, TimingState::FadingIn));
  EXPECT_NEAR(lightning.Brightness(0.3f), 0.402f, 1e-5f);
  EXPECT_EQ(lightning.Brightness(0.6f), 1.0f);
  lightning.timing.SetTiming(std::make_unique<FixedTimeline>(0.5f, TimingState::FadingOut));
  EXPECT_FLOAT_EQ(lightning.Brightness(0.3f), 0.25f);
  lightning.flicker.SetValue(40);
  lightning.timing.SetTiming(std::make_unique<FixedTimeline>(1.0f, TimingState::Shown));
  for (float t : {0.0f, 0.37f, 1.9f}) {
    lightning.lastTime = t;
    // The noise lies in about -1 to 1.
    EXPECT_GE(lightning.Brightness(0.0f), 0.59f);
    EXPECT_LE(lightning.Brightness(0.0f), 1.01f);
  }
}

TEST_F(PositionedGenerators, LightningThatCannotComposeAsksForNoPictureBelow) {
  DS_LightningGN lightning = Lightning(0);
  auto run = StartRuntime(lightning);
  ASSERT_NE(run.obj, nullptr);
  EXPECT_EQ(run.obj->NeedsPictureBelow(), 0);  // no effect linked
  DS_LightningGN linked = Lightning(0);
  linked.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1802);
  for (int mode : {0, 3}) {
    linked.blendMode.SetValue(mode);
    auto composed = StartRuntime(linked);
    ASSERT_NE(composed.obj, nullptr);
    EXPECT_EQ(composed.obj->NeedsPictureBelow(), 1) << mode;
  }
}

// Ray i's tip, from the quad's far corners.
D3DXVECTOR3 Tip(const std::vector<DX_V::PCT>& v, size_t i) {
  return D3DXVECTOR3((v[4 * i + 2].x + v[4 * i + 3].x) * 0.5f,
                     (v[4 * i + 2].y + v[4 * i + 3].y) * 0.5f, 0);
}

DS_RadialRays Rays(unsigned count) {
  DS_RadialRays rays;
  rays.position.SetValue(D3DXVECTOR3(32, 16, 0));
  rays.rayCount.SetValue(count);
  rays.rayLength.SetValue(20);
  rays.rayWidth.SetValue(4);
  rays.raySpeed.SetValue(50);
  return rays;
}

// Advances the run to local time t in steps of 0.1 s.
template <class Kind>
void RunTo(Running<Kind>& run, float t) {
  for (float at = 0.0f; at <= t + 1e-4f; at += 0.1f)
    run.obj->Update(at);
}

TEST_F(PositionedGenerators, RaysTurnOneRadianPerSecondAtSpeedFifty) {
  DS_RadialRays rays = Rays(4);
  auto run = StartRuntime(rays);
  ASSERT_NE(run.obj, nullptr);
  RunTo(run, 0.5f);
  run.Clone().BuildRays(*run.obj);
  const auto v = LayerVertices(*run.obj, 0);
  ASSERT_EQ(v.size(), 16u);
  for (size_t i = 0; i < 4; ++i) {
    const float a = 0.5f + static_cast<float>(i) * 1.5707964f;
    ExpectNear(Tip(v, i), D3DXVECTOR3(32 + 20 * std::cos(a), 16 + 20 * std::sin(a), 0), 1e-2f);
  }
  EXPECT_FLOAT_EQ(v[0].u, 0.01f);
  EXPECT_FLOAT_EQ(v[2].u, 0.99f);
}

TEST_F(PositionedGenerators, RaysSwingOrTurnBackByTheirMode) {
  const std::pair<int, float> cases[] = {{1, -1.5f}, {2, std::sin(1.5f)}};
  for (const auto& [mode, angle] : cases) {
    SCOPED_TRACE(mode);
    DS_RadialRays rays = Rays(1);
    rays.rotationMode.SetValue(mode);
    rays.swingAmplitude.SetValue(50);
    auto run = StartRuntime(rays);
    ASSERT_NE(run.obj, nullptr);
    RunTo(run, 1.5f);
    run.Clone().BuildRays(*run.obj);
    const auto v = LayerVertices(*run.obj, 0);
    ASSERT_EQ(v.size(), 4u);
    ExpectNear(Tip(v, 0), D3DXVECTOR3(32 + 20 * std::cos(angle), 16 + 20 * std::sin(angle), 0),
               1e-2f);
  }
}

TEST_F(PositionedGenerators, TheTimelineShrinksOrFadesTheRays) {
  struct Case {
    int timeMode;
    unsigned depth;
    float value;
    float length;
    uint32_t alpha;
  };
  const Case cases[] = {{0, 100, 0.5f, 10.0f, 255},
                        {0, 100, 0.0f, 0.0f, 255},
                        {1, 80, 0.0f, 20.0f, 51},
                        {2, 100, 0.0f, 20.0f, 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.timeMode * 1000 + c.value * 10);
    DS_RadialRays rays = Rays(1);
    rays.timing.timeMode.SetValue(c.timeMode);
    rays.timelineDepth.SetValue(c.depth);
    SetTimelineValue(rays, c.value);
    auto run = StartRuntime(rays);
    ASSERT_NE(run.obj, nullptr);
    const auto v = LayerVertices(*run.obj, 0);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(Tip(v, 0).x - 32.0f, c.length, 1e-3f);
    EXPECT_EQ(v[0].diffuse >> 24, c.alpha);
  }
}

TEST_F(PositionedGenerators, RandomRaysKeepTheirShapeAndHandTheSequenceOn) {
  DS_RadialRays rays = Rays(6);
  rays.random.SetValue(1);
  rays.seed.SetValue(99);
  rays.jitter.SetValue(60);
  auto run = StartRuntime(rays);
  ASSERT_NE(run.obj, nullptr);
  const auto first = LayerVertices(*run.obj, 0);
  crt_srand(1234);
  const int s0 = crt_rand();
  crt_srand(1234);
  run.Clone().BuildRays(*run.obj);
  const auto again = LayerVertices(*run.obj, 0);
  ASSERT_EQ(first.size(), again.size());
  for (size_t i = 0; i < first.size(); ++i)
    EXPECT_EQ(first[i].x, again[i].x);
  const int next = crt_rand();
  crt_srand(static_cast<unsigned>(s0));
  EXPECT_EQ(next, crt_rand());
}

TEST_F(PositionedGenerators, NoRaysWriteNothing) {
  DS_RadialRays rays = Rays(0);
  auto run = StartRuntime(rays);
  ASSERT_NE(run.obj, nullptr);
  run.obj->Update(0.1f);
  EXPECT_EQ(run.obj->QuadCount(0), 0u);
}

TEST_F(PositionedGenerators, SmokeWindAndSector) {
  DS_Smoke smoke;
  for (const auto& [stored, wind] : {std::pair{50u, 0.0f}, {0u, -100.0f}, {100u, 100.0f}}) {
    smoke.wind.SetValue(stored);
    EXPECT_FLOAT_EQ(smoke.wind.Scaled(), wind);
  }
  smoke.sector.SetValue(90);
  smoke.position.SetValue(D3DXVECTOR3(5, 6, 0));
  const ParticleOrigin puff = smoke.NewOrigin();
  ExpectNear(puff.velocity, D3DXVECTOR3(0, -100, 0));
  ExpectNear(puff.acceleration, D3DXVECTOR3(100, 0, 0));
  ExpectNear(puff.position, D3DXVECTOR3(5, 6, 0));
  EXPECT_EQ(puff.size, 0.5f);
  EXPECT_EQ(puff.opacity, 0.0f);
}

TEST_F(PositionedGenerators, ASmokePuffOfFourSecondsIsOpaqueFromAQuarterSecondToThree) {
  DS_Smoke smoke;
  smoke.originLife.SetValue(100);
  smoke.origins.push_back(smoke.NewOrigin());
  float t = 0.0f;
  while (!smoke.origins.empty()) {
    const float opacity = smoke.origins.front().opacity;
    if (t > 0.26f && t < 2.99f) EXPECT_GE(opacity, 1.0f) << t;
    if (t < 0.24f || t > 3.01f) EXPECT_LT(opacity, 1.0f) << t;
    smoke.StepOrigins(0.01f);
    t += 0.01f;
  }
  EXPECT_NEAR(t, 4.0f, 0.02f);
}

TEST_F(PositionedGenerators, SmokeEmitsByRateAndValueWithoutCatchingUp) {
  DS_Smoke smoke;
  smoke.originLife.SetValue(1000);
  smoke.originRate.SetValue(10);
  smoke.StepOrigins(1.05f);
  EXPECT_EQ(smoke.origins.size(), 10u);
  SetTimelineValue(smoke, 0.0f);
  smoke.StepOrigins(5.0f);
  SetTimelineValue(smoke, 1.0f);
  smoke.StepOrigins(0.1f);
  EXPECT_EQ(smoke.origins.size(), 11u);
  smoke.originRate.SetValue(1000000000u);
  smoke.StepOrigins(1.0f);
  EXPECT_EQ(smoke.origins.size(), kMaxParticlesPerList);
}

TEST_F(PositionedGenerators, SmokeOfRateZeroStaysEmpty) {
  DS_Smoke smoke;
  smoke.originLife.SetValue(100);
  smoke.originSize.SetValue(10);
  auto run = StartRuntime(smoke);
  ASSERT_NE(run.obj, nullptr);
  run.obj->Update(0.0f);
  run.obj->Update(0.1f);
  EXPECT_EQ(run.obj->QuadCount(0), 0u);

  // A life of 0: puffs die at once and nothing divides by it.
  DS_Smoke brief;
  brief.originRate.SetValue(50);
  auto quick = StartRuntime(brief);
  ASSERT_NE(quick.obj, nullptr);
  quick.obj->Update(0.0f);
  quick.obj->Update(0.1f);
  for (const ParticleOrigin& puff : quick.Clone().origins)
    EXPECT_TRUE(std::isfinite(puff.size));
}

DS_FireworkSimple Firework(unsigned sparks) {
  DS_FireworkSimple firework;
  firework.sparkCount.SetValue(sparks);
  firework.sparkSize.SetValue(4);
  firework.sparkSpeed.SetValue(10);
  firework.ownSpeed.SetValue(50);
  return firework;
}

TEST_F(PositionedGenerators, AContinuousFireworkThrowsASparkEveryEighthOfASecond) {
  DS_FireworkSimple firework = Firework(4);
  auto run = StartRuntime(firework);
  ASSERT_NE(run.obj, nullptr);
  DS_FireworkSimple& clone = run.Clone();
  std::vector<float> thrown;
  size_t before = 0;
  for (int k = 0; k <= 200; ++k) {
    const float t = 0.01f * static_cast<float>(k);
    run.obj->Update(t);
    if (clone.sources.size() > before) thrown.push_back(clone.ownSpeed.localTime);
    before = clone.sources.size();
  }
  ASSERT_GE(thrown.size(), 4u);
  EXPECT_NEAR(thrown[2] - thrown[1], 0.125f, 0.011f);
  EXPECT_EQ(clone.sources.size(), 4u);  // each lives 0.5 s
  EXPECT_EQ(run.obj->QuadCount(0), 4u);
}

TEST_F(PositionedGenerators, AFireworkOfNoSparksThrowsOnlyTheFirst) {
  DS_FireworkSimple firework = Firework(0);
  auto run = StartRuntime(firework);
  ASSERT_NE(run.obj, nullptr);
  run.obj->Update(0.0f);
  run.obj->Update(0.1f);
  EXPECT_EQ(run.Clone().sources.size(), 1u);
  EXPECT_TRUE(std::isinf(run.Clone().nextSparkTime));
}

TEST_F(PositionedGenerators, ARandomTimelineFiresOneBurstPerVisiblePhase) {
  DS_FireworkSimple firework = Firework(6);
  auto random = std::make_unique<ZKW_RandomTimeLine>();
  random->params.hiddenMin.SetValue(100);
  random->params.hiddenMax.SetValue(100);
  random->params.shownMin.SetValue(200);
  random->params.shownMax.SetValue(200);
  random->params.fadeIn.SetValue(50);
  random->params.fadeOut.SetValue(50);
  random->Reset();  // draws the first shown time from these limits
  ZKW_RandomTimeLine* timeline = random.get();
  firework.timing.RawValue() = 1;
  firework.timing.SetTiming(std::move(random));
  auto run = StartRuntime(firework);
  ASSERT_NE(run.obj, nullptr);
  DS_FireworkSimple& clone = run.Clone();
  int bursts = 0;
  size_t before = 0;
  for (int k = 0; k <= 800; ++k) {
    const float t = 0.01f * static_cast<float>(k);
    timeline->Step(t);
    run.obj->Update(t);
    if (clone.sources.size() > before) {
      ++bursts;
      EXPECT_EQ(clone.sources.size(), 6u);
      EXPECT_NEAR(timeline->GetCycleLength(), 3.0f, 1e-4f);
    }
    // Sparks live the cycle length: none outlives its visible phase by more than a step.
    if (timeline->GetState() == TimingState::Hidden && k > 0) EXPECT_LE(clone.sources.size(), 6u);
    before = clone.sources.size();
  }
  // 8 s: visible 0-3, hidden 3-4, visible 4-7, hidden, visible from 8.
  EXPECT_GE(bursts, 2);
  EXPECT_LE(bursts, 3);
}

TEST_F(PositionedGenerators, TheFontBlockScalesTowardsItsPosition) {
  const DS_ImageFileLink glyph(u"glyphs.dll", 3001);
  ProvidePicture(glyph, 8, 8, 0xFFFFFFFF);
  DS_AnimatedFont font;
  font.position.SetValue(D3DXVECTOR3(10, 10, 0));
  font.scale.SetValue(50);
  font.glyphPictures = {glyph, glyph};
  font.sources.emplace_back(D3DXVECTOR3(20, 10, 0));  // the second glyph has no source
  auto run = StartRuntime(font);
  ASSERT_NE(run.obj, nullptr);
  EXPECT_EQ(run.obj->QuadCount(0), 1u);
  const auto v = LayerVertices(*run.obj, 0);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[3].x, 28.0f);  // the glyph's pixel size at its source
  const D3DXMATRIX& m = run.obj->LayerNode(0).world;
  D3DXVECTOR3 corner;
  const D3DXVECTOR3 far(28, 18, 0);
  D3DXVec3TransformCoord(&corner, &far, &m);
  ExpectNear(corner, D3DXVECTOR3(19, 14, 0));
  ExpectNear(run.Clone().bounds.corners[3].Value(), D3DXVECTOR3(19, 14, 0));

  DS_AnimatedFont empty;
  auto none = StartRuntime(empty);
  ASSERT_NE(none.obj, nullptr);
  EXPECT_EQ(none.obj->QuadCount(0), 0u);
}

// A glyph of two frames of 0.5 s shows its second frame after 0.6 s of its clock: at speed 100
// after 0.6 s of slide time, at speed 50 not yet.
TEST_F(PositionedGenerators, GlyphFramesCycleAtTheAnimationSpeed) {
  for (const auto& [speed, frame] : {std::pair{100u, 1u}, {50u, 0u}}) {
    SCOPED_TRACE(speed);
    const DS_ImageFileLink glyph(u"glyphs.dll", 3002);
    ProvidePicture(glyph, 8, 8, 0xFFFFFFFF);
    ImageTextureSet& set = Doc().imageTextureSets[glyph.Key()];
    set.textures.push_back(set.textures.front());
    set.delays = {0.5f, 0.5f};
    DS_AnimatedFont font;
    font.animationSpeed.SetValue(speed);
    font.glyphPictures = {glyph};
    font.sources.emplace_back(D3DXVECTOR3(0, 0, 0));
    auto run = StartRuntime(font);
    ASSERT_NE(run.obj, nullptr);
    RunTo(run, 0.6f);
    ASSERT_EQ(run.Clone().glyphTextures.size(), 1u);
    EXPECT_EQ(run.Clone().glyphTextures[0].frameIndex, frame);
  }
}

TEST_F(PositionedGenerators, AnUnplacedGeneratorMovesToTheSceneCentre) {
  DS_RadialRays rays = Rays(1);
  rays.keepGuid = 0;
  auto run = StartRuntime(rays);
  ASSERT_NE(run.obj, nullptr);
  const RenderContext* context = RenderContextTlsSlot::Get();
  ASSERT_NE(context, nullptr);
  ExpectNear(run.Clone().position.Value(),
             D3DXVECTOR3(context->pictureW * 0.5f, context->pictureH * 0.5f, 0));
  EXPECT_EQ(run.Clone().keepGuid, 1);
  DS_RadialRays kept = Rays(1);
  auto placed = StartRuntime(kept);
  ASSERT_NE(placed.obj, nullptr);
  ExpectNear(placed.Clone().position.Value(), D3DXVECTOR3(32, 16, 0));
}

}  // namespace
}  // namespace generator_test
