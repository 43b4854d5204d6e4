#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tree_fixture.h"

namespace tree_test {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

int Channel(uint32_t pixel, int shift) {
  return int((pixel >> shift) & 0xFF);
}

TEST(PictureOptions, TheShadowShiftsByTheLowEndOfItsDistanceAlongItsAngle) {
  ZKW_PtclSysOption_Shadow shadow;  // value 10, 315 degrees
  shadow.distance.spread.SetValue(50);
  const D3DXVECTOR3 offset = shadow.Offset();
  EXPECT_NEAR(offset.x, 0.70710678f * 5.0f, 1e-4f);
  EXPECT_NEAR(offset.y, 0.70710678f * 5.0f, 1e-4f);
  EXPECT_EQ(offset.z, 0.0f);
  // 90 degrees points along -y, by the whole value at spread 0.
  shadow.angle.SetValue(90);
  shadow.distance.spread.SetValue(0);
  EXPECT_NEAR(shadow.Offset().x, 0.0f, 1e-4f);
  EXPECT_NEAR(shadow.Offset().y, -10.0f, 1e-4f);
}

class OptionPixels : public TreeRenderTest {
 protected:
  // A system whose root stands at (32, 32) with one picture node of one particle of `size` units
  // showing `texel`; `picture` points at the node.
  std::unique_ptr<ZKW_PtclSys_Constructor> OnePicture(unsigned size, uint32_t texel) {
    auto system = std::make_unique<ZKW_PtclSys_Constructor>();
    system->Root().Physics().position.SetValue(D3DXVECTOR3(32, 32, 0));
    auto node = std::make_unique<ZKW_PtclSysNode_Picture>();
    node->SetPhysics(Group(1));
    node->size.SetValue(size);
    picture = node.get();
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(node)));
    UsePicture(*picture, DS_ImageFileLink(u"option.png", 1), 2, 2, 2, 2,
               std::vector<uint32_t>(4, texel));
    return system;
  }

  RuntimeObjectList Draw(ZKW_PtclSys_Constructor& system, uint32_t background = kBlack) {
    return DrawOnce(system, background);
  }

  ZKW_PtclSysNode_Picture* picture = nullptr;
};

TEST_F(OptionPixels, TheGlowReadsThePictureBelowOnlyAboveModeZero) {
  struct Case {
    int mode;
    int below;
    const char* technique;
    const char* absent;
  };
  const Case cases[] = {{0, 0, "DrawGlowNormal", "DrawGlowLinearDodge"},
                        {3, 1, "DrawGlowLinearDodge", "DrawGlowNormal"},
                        {1, 1, "DrawGlowScreen", "DrawGlowNormal"},
                        {2, 1, "DrawGlowColorDodge", "DrawGlowNormal"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    auto system = OnePicture(16, kWhite);
    picture->options.glow.enabled.SetValue(1);
    picture->options.glow.mode.SetValue(c.mode);
    EXPECT_EQ(picture->NeedsPictureBelow(), c.below);
    Draw(*system, 0xFF404040);
    EXPECT_TRUE(Drew(c.technique));
    EXPECT_FALSE(Drew(c.absent));
    EXPECT_TRUE(Drew("BlendNormal_AlphaPM")) << "the particles drawn into the glow surface";
    // The picture below is handed to the composition above mode 0 only (the shared effect has
    // never had one before the first case).
    gfx::Texture* below = nullptr;
    ASSERT_TRUE(picture->options.glow.blur.effect);
    picture->options.glow.blur.effect->GetTexture("Background", &below);
    EXPECT_EQ(below != nullptr, c.below == 1);
    if (below != nullptr) below->Release();
    // The yellow glow brightens the grey beyond the 16-unit quad (x 24 to 40) in every mode.
    const uint32_t beside = PixelAt(43, 32);
    EXPECT_GT(Channel(beside, 16), 0x50);
    EXPECT_GT(Channel(beside, 8), 0x50);
    EXPECT_EQ(PixelAt(32, 32), kWhite);
  }
}

// A glow of mode 0 over a child whose glow reads the picture below: the parent switches no
// target of its own, so the frame ends its targets after the child's one switch (a debug build
// checks the count after every object).
TEST_F(OptionPixels, AModeZeroGlowOverAReadingChildSwitchesOnlyForTheChild) {
  auto system = OnePicture(16, kWhite);
  picture->options.glow.enabled.SetValue(1);
  picture->options.glow.mode.SetValue(0);
  auto child = std::make_unique<ZKW_PtclSysNode_Picture>();
  child->SetPhysics(Group(1));
  child->size.SetValue(8);
  child->options.glow.enabled.SetValue(1);
  UsePicture(*child, DS_ImageFileLink(u"option.png", 1), 2, 2, 2, 2,
             std::vector<uint32_t>(4, kWhite));
  ZKW_PtclSysNode_Picture& reader = *child;
  picture->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(child)));
  EXPECT_EQ(reader.NeedsPictureBelow(), 1);
  EXPECT_EQ(picture->NeedsPictureBelow(), 1);
  Draw(*system);
  EXPECT_TRUE(Drew("DrawGlowNormal"));
  EXPECT_TRUE(Drew("DrawGlowLinearDodge"));
}

TEST_F(OptionPixels, TheShadowIsLaidUnderTheParticlesShifted) {
  auto system = OnePicture(16, kWhite);
  ZKW_PtclSysOption_Shadow& shadow = picture->options.shadow;
  shadow.enabled.SetValue(1);
  shadow.angle.SetValue(0);  // along +x by 10
  shadow.colour.SetValue(0x0000FF);
  shadow.brightness.SetValue(100);
  Draw(*system);
  EXPECT_TRUE(Drew("DrawGlowNormal"));
  EXPECT_EQ(PixelAt(32, 32), kWhite);
  // Right of the quad (x 24 to 40) lies the red shadow; left of it nothing.
  EXPECT_GT(Channel(PixelAt(45, 32), 16), 40);
  EXPECT_LT(Channel(PixelAt(19, 32), 16), Channel(PixelAt(45, 32), 16));
}

TEST_F(OptionPixels, ARadialGlowDrawsASoftCircleQuadPerParticle) {
  // The glow's picture is a soft circle of 4 x 4 texels: opaque white in the middle four, faint
  // at the rim.
  const DS_ImageFileLink circle(u"circle.png", 1);
  const uint32_t rim = 0x20202020;
  ProvideFrames(
      circle, 4, 4, 4, 4,
      {rim, rim, rim, rim, rim, kWhite, kWhite, rim, rim, kWhite, kWhite, rim, rim, rim, rim, rim});
  struct Case {
    unsigned transparency;
    int red;
  };
  for (const Case& c : {Case{0, 255}, Case{50, 127}}) {
    SCOPED_TRACE(c.transparency);
    // A transparent picture, so that only the radial glow shows.
    auto system = OnePicture(32, 0x00000000);
    ZKW_PtclSysOption_RadialGlow& radial = picture->options.radialGlow;
    auto source = std::make_unique<ZKW_ImgFileTex>();
    source->links = {circle};
    source->valueA = source->valueB = 1;
    source->premultiplied = true;
    radial.SetTextureSource(std::move(source));
    radial.enabled.SetValue(1);
    radial.size.SetValue(100);         // the particle's 32 units
    radial.colour.SetValue(0x0000FF);  // red
    radial.colour.alpha.SetValue(c.transparency);
    const RuntimeObjectList objects = Draw(*system);
    const auto& batches = static_cast<ZKW_PtclSys_Obj&>(*objects.front()).Batches();
    ASSERT_GE(batches.size(), 2u);
    EXPECT_EQ(batches[1].QuadCount(), 1u);
    EXPECT_TRUE(Drew("BlendNormal_AlphaPM"));
    const uint32_t centre = PixelAt(32, 32);
    EXPECT_NEAR(Channel(centre, 16), c.red, 4);
    EXPECT_EQ(Channel(centre, 8), 0);
    EXPECT_EQ(Channel(centre, 0), 0);
    EXPECT_LT(Channel(PixelAt(46, 32), 16), 0x40) << "faint at the rim";
    EXPECT_EQ(PixelAt(32, 52), kBlack) << "outside the quad";
  }
}

TEST_F(OptionPixels, ARadialGlowOfNoParticlesDrawsNothing) {
  auto system = OnePicture(32, kWhite);
  picture->SetPhysics(Group(0));
  picture->options.radialGlow.enabled.SetValue(1);
  const RuntimeObjectList objects = Draw(*system);
  const auto& batches = static_cast<ZKW_PtclSys_Obj&>(*objects.front()).Batches();
  ASSERT_GE(batches.size(), 2u);
  EXPECT_EQ(batches[1].QuadCount(), 0u);
  EXPECT_FALSE(Drew("BlendNormal_AlphaPM"));
  EXPECT_EQ(PixelAt(32, 32), kBlack);
}

}  // namespace
}  // namespace tree_test
