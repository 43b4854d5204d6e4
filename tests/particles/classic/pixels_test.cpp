#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "classic_fixture.h"
#include "particles/classic/kinds/burst_ptcl_sys.h"

namespace classic_test {
namespace {

class PixelsTest : public ClassicRenderTest {
 protected:
  // A burst of `count` white particles of `size` units that stay forever at (32, 32).
  std::unique_ptr<ZKW_BurstPtclSys> StillBurst(unsigned count, unsigned size) {
    auto burst = std::make_unique<ZKW_BurstPtclSys>();
    WhiteLook(burst->appearance, DS_ImageFileLink(u"white.png", 1), size);
    burst->count.SetValue(count);
    burst->distance.SetValue(1);  // at speed 0: forever
    burst->emitter.point.RawValue() = {32, 32, 0};
    return burst;
  }

  // The object made from the description, updated at t = 1 and drawn once on a slide whose
  // picture is `background`.
  RuntimeObjectList DrawOnce(DS_ABObj_Constructor& description, uint32_t background) {
    StartSlideOn(renderer_, 64, 64, background);
    RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(description.CreateRuntimeObject())};
    objects.front()->AdvanceTime(1.0f);
    Frame(renderer_, objects);
    return objects;
  }
};

TEST_F(PixelsTest, HalfOpaqueParticlesLayOverOrAddUp) {
  struct Case {
    int blend;
    int red;
  } cases[] = {{0, 191}, {1, 254}};
  for (const Case& c : cases) {
    auto burst = StillBurst(2, 16);
    burst->appearance.colorSet.opacity.SetValue(50);  // alpha 127
    burst->appearance.blend.SetValue(c.blend);
    DrawOnce(*burst, 0xFF000000);
    EXPECT_NEAR(RedOf(PixelAt(32, 32)), c.red, 2) << "blend " << c.blend;
    EXPECT_EQ(PixelAt(4, 4) & 0xFFFFFF, 0u) << "outside the particles";
    const std::string technique = c.blend == 0 ? "BlendNormal" : "BlendSum";
    EXPECT_TRUE(std::any_of(Log().begin(), Log().end(), [&](const gfx::FrameLogEntry& e) {
      return e.technique == technique;
    })) << technique;
  }
}

TEST_F(PixelsTest, GlowPutsItsColourAroundTheParticle) {
  auto burst = StillBurst(1, 8);
  burst->appearance.glowMode.SetValue(ParticleAppearance::kGlow);
  burst->appearance.glowColour.SetValue(0x00FF00);  // green
  DrawOnce(*burst, 0xFF000000);
  EXPECT_EQ(RedOf(PixelAt(31, 33)), 255) << "the particle itself";
  const uint32_t beside = PixelAt(39, 33);  // three pixels right of the quad
  EXPECT_GT(GreenOf(beside), 40);
  EXPECT_LT(RedOf(beside), 10);
  EXPECT_EQ(PixelAt(2, 2) & 0xFFFFFF, 0u) << "far from the particle";
}

TEST_F(PixelsTest, GlowTargetsWaitForAPictureSize) {
  // Made before the slide has a view: the targets come with the first draw.
  auto burst = StillBurst(1, 8);
  burst->appearance.glowMode.SetValue(ParticleAppearance::kGlow);
  burst->appearance.glowColour.SetValue(0x00FF00);
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(burst->CreateRuntimeObject())};
  auto& mech = static_cast<ZKW_ParticleSystemMech&>(*objects.front());
  EXPECT_FALSE(mech.ctrl->appearance.glowSurface.HasTargets());
  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  objects.front()->AdvanceTime(1.0f);
  Frame(renderer_, objects);
  EXPECT_GT(GreenOf(PixelAt(39, 33)), 40);

  // Never a size: no glow, rather than the glow colour over everything.
  Context().pictureW = Context().pictureH = 0;
  RuntimeObjectList again{DS_SafePtr<ZKW_RenderObj>(burst->CreateRuntimeObject())};
  again.front()->AdvanceTime(1.0f);
  Frame(renderer_, again);
  EXPECT_EQ(PixelAt(2, 2) & 0xFFFFFF, 0u);
  EXPECT_EQ(RedOf(PixelAt(31, 33)), 255);
}

TEST_F(PixelsTest, ScreenGlowBrightensThePictureBelow) {
  auto burst = StillBurst(1, 8);
  burst->appearance.glowMode.SetValue(ParticleAppearance::kScreenGlow);
  burst->appearance.glowColour.SetValue(0x00FF00);
  RuntimeObjectList objects = DrawOnce(*burst, 0xFF808080);
  EXPECT_EQ(objects.front()->NeedsPictureBelow(), 1);
  const uint32_t beside = PixelAt(39, 33);
  EXPECT_GT(GreenOf(beside), 0x80 + 20) << "screened towards the glow colour";
  EXPECT_NEAR(RedOf(beside), 0x80, 2) << "channels without glow keep the picture below";
  EXPECT_NEAR(BlueOf(beside), 0x80, 2);
  EXPECT_NEAR(GreenOf(PixelAt(2, 2)), 0x80, 2);
  EXPECT_EQ(RedOf(PixelAt(31, 33)), 255);
}

TEST_F(PixelsTest, ATwentyThousandQuadBatchDrawsItsLastQuadInPlace) {
  StepControl description;
  WhiteLook(description.appearance, DS_ImageFileLink(u"white.png", 1), 6);
  std::unique_ptr<ZKW_RenderObj> object = description.CreateRuntimeObject();
  auto& control = static_cast<StepControl&>(*static_cast<ZKW_ParticleSystemMech&>(*object).ctrl);
  for (int i = 0; i < 20000; ++i) {
    const D3DXVECTOR3 at = i == 19999 ? D3DXVECTOR3(48, 16, 0) : D3DXVECTOR3(-40, -40, 0);
    control.particles.push_back(DS_SafePtr<RoutineParticle>(std::make_unique<RoutineParticle>(at)));
  }
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(std::move(object))};
  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  objects.front()->AdvanceTime(1.0f);
  Frame(renderer_, objects);
  EXPECT_EQ(static_cast<ZKW_ParticleSystemMech&>(*objects.front()).quadCounts[0], 20000u);
  // The centre lies one unit along the direction (0, 1) and one along the normal (-1, 0).
  EXPECT_EQ(PixelAt(47, 17) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(PixelAt(32, 32) & 0xFFFFFF, 0u);
}

}  // namespace
}  // namespace classic_test
