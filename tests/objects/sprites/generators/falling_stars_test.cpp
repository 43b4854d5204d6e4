// The region generator and the falling stars: where and how many stars are born, how they move,
// fade and spin, their trail, their layers and what they draw.
#include <cmath>

#include "core/crt_rand.h"
#include "generator_fixture.h"
#include "objects/sprites/generators/ds_falling_stars.h"

namespace generator_test {
namespace {

constexpr uint32_t kGrey = 0xFF808080;

class FallingStars : public SpriteTest {
 protected:
  // Stars of 6 pixels in the region (10, 4)-(30, 20), shown 1 s after a fade-in of 0.1 s.
  DS_FallingStars Stars(unsigned rate) {
    DS_FallingStars stars;
    stars.region.SetRect(20, 16, D3DXVECTOR3(20, 12, 0));
    stars.starRate.SetValue(rate);
    stars.starSize.SetValue(6);
    stars.shownTime.SetValue(100);
    stars.fadeInTime.SetValue(10);
    stars.fadeOutTime.SetValue(10);
    return stars;
  }
};

TEST_F(FallingStars, RateZeroEmitsNoStar) {
  DS_FallingStars stars = Stars(0);
  auto run = StartRuntime(stars);
  ASSERT_NE(run.obj, nullptr);
  for (float t = 0.0f; t < 3.0f; t += 0.1f)
    run.obj->Update(t);
  EXPECT_TRUE(run.Clone().sources.empty());
  EXPECT_EQ(run.obj->QuadCount(0), 0u);
}

// Ten stars a second over one second: 0 to 20, ten on average; nothing while the time since
// the last emission is too short for one.
TEST_F(FallingStars, RateTenOverOneSecondGivesZeroToTwenty) {
  crt_srand(5);
  DS_FallingStars stars = Stars(500);
  auto run = StartRuntime(stars);
  ASSERT_NE(run.obj, nullptr);
  DS_FallingStars& clone = run.Clone();
  clone.EmitStars(0.05f);
  EXPECT_TRUE(clone.sources.empty());
  size_t total = 0;
  for (int k = 1; k <= 200; ++k) {
    clone.sources.clear();
    clone.EmitStars(static_cast<float>(k));
    EXPECT_LE(clone.sources.size(), 20u);
    total += clone.sources.size();
  }
  EXPECT_NEAR(static_cast<double>(total) / 200.0, 10.0, 1.5);
}

TEST_F(FallingStars, ARegionOfOnePointEmitsEveryStarThere) {
  DS_FallingStars stars = Stars(5000);
  stars.region.SetRect(0, 0, D3DXVECTOR3(5, 7, 0));
  auto run = StartRuntime(stars);
  ASSERT_NE(run.obj, nullptr);
  run.Clone().EmitStars(1.0f);
  ASSERT_FALSE(run.Clone().sources.empty());
  for (const GeneratorParticle& star : run.Clone().sources)
    EXPECT_EQ(star.position, D3DXVECTOR3(5, 7, 0));
}

TEST_F(FallingStars, WithAllTimesZeroAStarIsNeverVisible) {
  DS_FallingStars stars = Stars(5000);
  stars.shownTime.SetValue(0);
  stars.fadeInTime.SetValue(0);
  stars.fadeOutTime.SetValue(0);
  auto run = StartRuntime(stars);
  ASSERT_NE(run.obj, nullptr);
  size_t seen = 0;
  for (float t = 0.0f; t < 1.0f; t += 0.1f) {
    run.obj->Update(t);
    seen += run.Clone().sources.size();
    // Those born at the step before are gone; the new ones stand at opacity 0.
    for (const GeneratorParticle& star : run.Clone().sources)
      EXPECT_EQ(star.channels[GeneratorParticle::kOpacity], 0.0f);
    for (const DX_V::PCT& v : LayerVertices(*run.obj, 0))
      EXPECT_EQ(v.diffuse >> 24, 0u);
  }
  EXPECT_GT(seen, 0u);
}

TEST_F(FallingStars, TwoSeventyDegreesAtSpeedFiftyFallsFourHundredPixelsASecondAndSpins) {
  DS_FallingStars stars = Stars(5000);
  stars.fallDirection.SetValue(270);
  stars.fallSpeed.SetValue(50);
  auto run = StartRuntime(stars);
  ASSERT_NE(run.obj, nullptr);
  DS_FallingStars& clone = run.Clone();
  clone.EmitStars(10.0f);
  ASSERT_FALSE(clone.sources.empty());
  std::vector<std::pair<D3DXVECTOR3, float>> before;
  for (const GeneratorParticle& star : clone.sources)
    before.emplace_back(star.position, star.channels[GeneratorParticle::kAngle]);
  ProcessParticleList(0.1f, clone.sources);
  size_t i = 0;
  for (const GeneratorParticle& star : clone.sources) {
    EXPECT_NEAR(star.position.x, before[i].first.x, 1e-3f);
    EXPECT_NEAR(star.position.y, before[i].first.y + 40.0f, 1e-3f);
    EXPECT_NEAR(std::fabs(star.channels[GeneratorParticle::kAngle] - before[i].second), 0.08f,
                1e-4f);
    ++i;
  }
}

TEST_F(FallingStars, TheSwitchOffLeavesTheTrailLayersEmpty) {
  for (int on : {0, 1}) {
    SCOPED_TRACE(on);
    DS_FallingStars stars = Stars(5000);
    stars.fallDirection.SetValue(270);
    stars.fallSpeed.SetValue(50);
    stars.emissionSwitch.SetValue(on);
    stars.emissionRate.SetValue(50);  // 100 trail particles a second and star
    stars.lifetime.SetValue(50);
    stars.auxiliary.SetValue(50);
    auto run = StartRuntime(stars);
    ASSERT_NE(run.obj, nullptr);
    for (float t = 0.0f; t < 0.5f; t += 0.1f)
      run.obj->Update(t);
    EXPECT_GT(run.obj->QuadCount(0), 0u);
    EXPECT_EQ(run.obj->QuadCount(2), run.obj->QuadCount(0));
    EXPECT_EQ(run.obj->QuadCount(1) > 0, on == 1);
    EXPECT_EQ(run.obj->QuadCount(3), run.obj->QuadCount(1));
  }
}

TEST_F(FallingStars, AnUnplacedDescriptionTakesTheWholeScene) {
  DS_FallingStars stars = Stars(0);
  stars.keepGuid = 0;
  auto run = StartRuntime(stars);
  ASSERT_NE(run.obj, nullptr);
  EXPECT_EQ(run.Clone().region.corners[0].Value(), D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(run.Clone().region.corners[3].Value(), D3DXVECTOR3(float(width_), float(height_), 0));
  DS_FallingStars placed = Stars(0);
  auto kept = StartRuntime(placed);
  ASSERT_NE(kept.obj, nullptr);
  EXPECT_EQ(kept.Clone().region.corners[3].Value(), D3DXVECTOR3(30, 20, 0));
}

TEST_F(FallingStars, RecordsRoundTrip) {
  DS_FallingStars stars = Stars(500);
  stars.fallSpeed.SetValue(50);
  stars.fallDirection.SetValue(270);
  stars.glowSize.SetValue(50);
  ReadResult read = RoundTrip(stars);
  ASSERT_NE(read.object, nullptr);
  const auto& back = As<DS_FallingStars>(read);
  EXPECT_FLOAT_EQ(back.fallSpeed.Scaled(), 400.0f);
  EXPECT_FLOAT_EQ(back.glowSize.Scaled(), 3.0f);
  EXPECT_FLOAT_EQ(back.shownTime.Scaled(), 1.0f);
  EXPECT_NEAR(back.fallDirection.Direction().y, -1.0f, 1e-6f);
  EXPECT_EQ(back.region.corners[3].Value(), D3DXVECTOR3(30, 20, 0));
  EXPECT_FLOAT_EQ(std::make_unique<DS_FallingStars>(back)->starRate.Scaled(), 10.0f);
  const std::vector<uint8_t> bytes = SavedBytes(stars);
  for (size_t cut : {bytes.size() / 3, bytes.size() - 1})
    EXPECT_TRUE(ReadDescription(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut)).failed);
}

class FallingStarPixels : public FallingStars {
 protected:
  void SetUp() override {
    FallingStars::SetUp();
    StartSlideOn(renderer_, width_, height_, kGrey);
    ProvidePicture(kWhite, 8, 8, 0xFFFFFFFF);
  }
  uint32_t At(int x, int y) { return ColourAt(x, y); }

  static inline const DS_ImageFileLink kWhite{u"white.png", 1};
  DS_2D_Light renderer_;
};

// Stars of white cores and glows over mid-grey: the region lights up, and the grey outside it
// is kept as it was.
TEST_F(FallingStarPixels, StarsOverGreyKeepTheGreyBetweenThem) {
  DS_FallingStars stars = Stars(5000);
  stars.pictures = {kWhite, kWhite, kWhite, kWhite};
  stars.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1802);
  stars.glowSize.SetValue(25);
  auto run = StartRuntime(stars);
  ASSERT_NE(run.obj, nullptr);
  for (float t = 0.0f; t <= 0.5f; t += 0.05f)
    run.obj->Update(t);
  EXPECT_EQ(run.obj->NeedsPictureBelow(), 1);
  Frame(renderer_, {run.handle});
  int lit = 0;
  for (int y = 4; y < 20; ++y)
    for (int x = 10; x < 30; ++x)
      lit += Channel(At(x, y), 8) > 0xA0;
  EXPECT_GT(lit, 20);
  EXPECT_EQ(At(2, 28), kGrey);
  EXPECT_EQ(At(60, 2), kGrey);
  EXPECT_EQ(At(50, 28), kGrey);
}

}  // namespace
}  // namespace generator_test
