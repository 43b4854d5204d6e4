// What the positioned generators draw, read back from the headless device: a firework's cores
// and glows composed with the picture below, and smoke through the single-layer effect.
#include "core/crt_rand.h"
#include "generator_fixture.h"
#include "objects/sprites/generators/ds_firework.h"
#include "objects/sprites/generators/ds_lightning_gn.h"
#include "objects/sprites/generators/ds_smoke.h"

namespace generator_test {
namespace {

constexpr uint32_t kGrey = 0xFF808080;

class PositionedPixels : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    StartSlideOn(renderer_, width_, height_, kGrey);
    ProvidePicture(kWhite, 8, 8, 0xFFFFFFFF);
  }

  template <class Kind>
  Running<Kind> DrawFrame(Kind& description, float until) {
    Running<Kind> run = StartRuntime(description);
    if (run.obj == nullptr) return run;
    for (float t = 0.0f; t <= until + 1e-4f; t += 0.05f)
      run.obj->Update(t);
    Frame(renderer_, {run.handle});
    return run;
  }
  uint32_t At(int x, int y) { return ColourAt(x, y); }

  static inline const DS_ImageFileLink kWhite{u"white.png", 1};
  DS_2D_Light renderer_;
};

// A still spark of white core and red glow in blend mode 0: the core lies white over the grey,
// the glow adds red around it, and far away the grey is left as it was.
TEST_F(PositionedPixels, AFireworkGlowsAroundItsSparksAndKeepsThePictureBelow) {
  DS_FireworkSimple firework;
  firework.pictures = {kWhite};
  firework.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1802);
  firework.position.SetValue(D3DXVECTOR3(32, 16, 0));
  firework.sparkCount.SetValue(1);
  firework.sparkSize.SetValue(6);
  firework.glowSize.SetValue(75);  // 4 x the spark
  firework.ownSpeed.SetValue(50);
  firework.colour1.SetValue(0xFFFFFF);
  firework.colour2.SetValue(0x0000FF);
  firework.colour2.alpha.SetValue(50);
  auto run = DrawFrame(firework, 0.1f);
  ASSERT_NE(run.obj, nullptr);
  EXPECT_EQ(run.obj->NeedsPictureBelow(), 1);
  EXPECT_EQ(At(32, 16), 0xFFFFFFFFu);
  const uint32_t glow = At(32 + 8, 16);
  EXPECT_GT(Channel(glow, 16), 0xA0);
  EXPECT_NEAR(Channel(glow, 8), 0x80, 2);
  EXPECT_NEAR(Channel(glow, 0), 0x80, 2);
  EXPECT_EQ(At(2, 2), kGrey);
  EXPECT_EQ(At(60, 30), kGrey);
}

// A bolt's picture repeats along it: its first texture coordinate runs on far past 1 (by the
// segment's length over the core width), and a picture clear at its ends still shows all along.
TEST_F(PositionedPixels, ABoltRepeatsItsPictureAlongItsLength) {
  const DS_ImageFileLink strip(u"strip.png", 4);
  ProvidePicture(strip, 4, 4, 4, 1, {0x00000000, 0xFFFFFFFF, 0xFFFFFFFF, 0x00000000});
  DS_LightningGN lightning;
  lightning.pictures = {strip};
  lightning.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1802);
  lightning.start.SetValue(D3DXVECTOR3(4, 16, 0));
  lightning.end.SetValue(D3DXVECTOR3(60, 16, 0));
  lightning.coreWidth.SetValue(6);
  lightning.glowWidth.SetValue(6);
  lightning.colour2.alpha.SetValue(100);
  auto run = DrawFrame(lightning, 0.1f);
  ASSERT_NE(run.obj, nullptr);
  int lit = 0;
  for (int x = 14; x < 40; ++x)
    lit += Channel(At(x, 16), 8) > 0xC0;
  EXPECT_GT(lit, 6);
  EXPECT_EQ(At(30, 4), kGrey);
}

// The same smoke drawn through effect 1805 and with the fixed-function draw gives the same
// picture: the effect reads the puff picture bound at stage 0.
TEST_F(PositionedPixels, SmokeThroughItsEffectMatchesTheFixedFunctionDraw) {
  std::vector<uint32_t> pictures[2];
  for (int withEffect = 0; withEffect < 2; ++withEffect) {
    DS_Smoke smoke;
    smoke.pictures = {kWhite};
    if (withEffect != 0) smoke.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1805);
    smoke.position.SetValue(D3DXVECTOR3(32, 30, 0));
    smoke.originLife.SetValue(40);
    smoke.originRate.SetValue(8);
    smoke.originSize.SetValue(8);
    smoke.sector.SetValue(90);
    smoke.sector.spread.SetValue(10);
    smoke.wind.SetValue(50);
    smoke.ownSpeed.SetValue(50);
    smoke.colour1.SetValue(0x00FFFF);
    crt_srand(5);
    auto run = DrawFrame(smoke, 0.1f);
    ASSERT_NE(run.obj, nullptr);
    EXPECT_GT(run.obj->QuadCount(0), 0u);
    pictures[withEffect] = BackBufferPixels();
  }
  size_t changed = 0;
  for (size_t i = 0; i < pictures[0].size(); ++i) {
    changed += pictures[0][i] != kGrey;
    for (int shift : {0, 8, 16})
      ASSERT_NEAR(Channel(pictures[0][i], shift), Channel(pictures[1][i], shift), 2) << i;
  }
  EXPECT_GT(changed, 20u);
}

}  // namespace
}  // namespace generator_test
