#include <gtest/gtest.h>

#include "player/render/matrix_values.h"
#include "renderer_fixture.h"
#include "renderers/blur/blur_effect.h"

namespace renderer_test {
namespace {

class BlurSurfaceTest : public RendererTest {
 protected:
  BlurSurfaceTest() : RendererTest(32, 32) {}

  void SetUp() override {
    RendererTest::SetUp();
    ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 32, 32, 0xFF000000);
    StartSlide(renderer_);
  }

  std::vector<std::string> Techniques() {
    std::vector<std::string> out;
    for (const auto& entry : Log())
      if (entry.kind == gfx::FrameLogEntry::Kind::Draw) out.push_back(entry.technique);
    return out;
  }

  DS_2D_Light renderer_;
};

TEST_F(BlurSurfaceTest, ReducedSizes) {
  struct Case {
    uint32_t width, height;
    unsigned reduction;
    uint32_t w, h;
  } cases[] = {{801, 601, 50, 400, 300},
               {100, 100, 95, 20, 20},
               {1, 1, 80, 1, 1},
               {64, 32, 0, 64, 32},
               {0, 10, 10, 1, 9}};
  for (const Case& c : cases) {
    ZKW_BlurEffect blur;
    blur.width = c.width;
    blur.height = c.height;
    blur.reduction.SetValue(c.reduction);
    blur.ComputeReducedSize();
    EXPECT_EQ(blur.reducedW, c.w) << c.width << " at " << c.reduction;
    EXPECT_EQ(blur.reducedH, c.h) << c.height << " at " << c.reduction;
  }
}

TEST_F(BlurSurfaceTest, SizesFollowTheRenderContextAndTheReduction) {
  ZKW_BlurSurface surface;
  EXPECT_EQ(Doc().losableRegistry.Entries().size(), 1u);
  surface.FitToRenderContext();
  EXPECT_EQ(surface.width, 32u);
  ASSERT_TRUE(surface.HasTargets());
  EXPECT_EQ(surface.targetA->Width(), 32u);
  surface.reduction.SetValue(50);
  ASSERT_TRUE(surface.HasTargets());
  EXPECT_EQ(surface.targetA->Width(), 16u);
  EXPECT_EQ(surface.targetB->Height(), 16u);

  surface.OnLostDevice();
  EXPECT_FALSE(surface.HasTargets());
  Doc().OnResetDevice();
  ASSERT_TRUE(surface.HasTargets());
  EXPECT_EQ(surface.targetA->Width(), 16u);

  ZKW_InnerGlowEffect glow;
  Context().frameW = 24;
  Context().frameH = 12;
  glow.FitToRenderContext();
  ASSERT_TRUE(glow.glowTarget);
  EXPECT_EQ(glow.glowTarget->Width(), 24u);
  glow.reduction.SetValue(75);
  EXPECT_EQ(glow.targetA->Width(), 8u);

  // A device reset brings every target back, the full-size glow target included.
  Doc().ReleaseDeviceObjects();
  EXPECT_FALSE(glow.glowTarget);
  ASSERT_EQ(device_->Reset(device_->GetPresentParameters()), gfx::kOk);
  Doc().OnResetDevice();
  ASSERT_TRUE(glow.HasTargets());
  EXPECT_EQ(glow.targetA->Width(), 8u);
  ASSERT_TRUE(glow.glowTarget);
  EXPECT_FALSE(glow.glowTarget->IsLost());
  EXPECT_EQ(glow.glowTarget->Width(), 24u);
  EXPECT_EQ(glow.glowTarget->Height(), 12u);
}

TEST_F(BlurSurfaceTest, PassesBlurTheOwnersDrawingAndRestoreEverything) {
  ZKW_BlurSurface surface;
  surface.effect = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 202));
  ASSERT_TRUE(surface.effect);
  surface.reduction.SetValue(50);
  surface.FitToRenderContext();

  for (int extra : {0, 2}) {
    surface.BeginFirstPass(renderer_);
    EXPECT_EQ(renderer_.renderFlags & DS_2D_Light::kOffscreenBlur, DS_2D_Light::kOffscreenBlur);
    EXPECT_EQ(CurrentTarget()->Container(), surface.targetA.Get());
    EXPECT_FLOAT_EQ(Context().viewW, 16);
    // The owner draws a dot into the middle of the reduced target.
    const gfx::Rect dot{8, 8, 9, 9};
    device_->Clear(1, &dot, gfx::ClearFlags::Target, 0xFFFFFFFF, 1, 0);
    ClearLog();
    surface.Apply(renderer_, extra);
    const std::vector<std::string> expected =
        extra == 0
            ? std::vector<std::string>{"GaussianBlurVFirst", "GaussianBlurH"}
            : std::vector<std::string>{"GaussianBlurVFirst", "GaussianBlurH", "GaussianBlurV",
                                       "GaussianBlurH",      "GaussianBlurV", "GaussianBlurH"};
    EXPECT_EQ(Techniques(), expected);
    EXPECT_EQ(CurrentTarget(), BackBuffer());
    EXPECT_EQ(renderer_.renderFlags & DS_2D_Light::kOffscreenBlur, 0u);
    EXPECT_TRUE(renderer_.savedViews.empty());
    EXPECT_EQ(renderer_.pushedView, 0);
    EXPECT_FLOAT_EQ(Context().viewW, 32);
  }
  // The dot is spread over its neighbours, symmetrically.
  const auto px = Pixels(surface.targetA.Get());
  const uint32_t centre = px[8 * 16 + 8] >> 24, left = px[8 * 16 + 7] >> 24,
                 right = px[8 * 16 + 9] >> 24, above = px[7 * 16 + 8] >> 24;
  EXPECT_GT(centre, 0u);
  EXPECT_LT(centre, 255u);
  EXPECT_GT(left, 0u);
  EXPECT_NEAR(double(left), double(right), 1.0);
  EXPECT_NEAR(double(above), double(left), 1.0);
}

// The blur passes copy whole targets: the depth parallax of the object being drawn, which its
// own drawing into the first target takes, does not move the copies.
TEST_F(BlurSurfaceTest, PassesAreNotMovedByTheObjectsParallax) {
  ZKW_BlurSurface surface;
  surface.effect = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 202));
  surface.reduction.SetValue(50);
  surface.FitToRenderContext();
  Context().cameraActive = true;
  Context().cameraOffsetTranslation = TranslationMatrix(4, 0, 0);  // 2 pixels of the target
  surface.BeginFirstPass(renderer_);
  const gfx::Rect dot{8, 8, 9, 9};
  device_->Clear(1, &dot, gfx::ClearFlags::Target, 0xFFFFFFFF, 1, 0);
  surface.Apply(renderer_, 1);
  EXPECT_EQ(Context().cameraOffsetTranslation, TranslationMatrix(4, 0, 0));
  const auto px = Pixels(surface.targetA.Get());
  const auto alpha = [&](int x) { return double(px[8 * 16 + x] >> 24); };
  EXPECT_GT(alpha(8), alpha(9));
  EXPECT_GT(alpha(8), alpha(7));
  EXPECT_NEAR(alpha(7), alpha(9), 1.0);
}

TEST_F(BlurSurfaceTest, MissingTargetsOrEffectKeepTheFrameBalanced) {
  ZKW_BlurSurface empty;  // no size, so no targets
  empty.BeginFirstPass(renderer_);
  EXPECT_EQ(CurrentTarget(), BackBuffer());
  empty.Apply(renderer_, 1);
  EXPECT_TRUE(Techniques().empty());
  EXPECT_EQ(CurrentTarget(), BackBuffer());
  EXPECT_TRUE(renderer_.savedViews.empty());
  EXPECT_EQ(renderer_.renderFlags, 0u);
  EXPECT_FALSE(empty.savedTarget);

  ZKW_BlurSurface noEffect;
  noEffect.FitToRenderContext();
  noEffect.BeginFirstPass(renderer_);
  EXPECT_EQ(CurrentTarget()->Container(), noEffect.targetA.Get());
  ClearLog();
  noEffect.Apply(renderer_, 1);
  EXPECT_TRUE(Techniques().empty());
  EXPECT_EQ(CurrentTarget(), BackBuffer());
  EXPECT_TRUE(renderer_.savedViews.empty());
}

}  // namespace
}  // namespace renderer_test
