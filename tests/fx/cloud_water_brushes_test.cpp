// The cloud and water brushes: their records, what they set on their effects, and their pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

#include "fx/fx_fixture.h"
#include "fx/record_layout.h"
#include "fx/sky/ds_cloud_fx.h"
#include "fx/water/ds_water_fx.h"

namespace fx_test {
namespace {

constexpr int64_t kCloudEffect = 2152;
const DS_ImageFileLink kCloudPicture(u"clouds.dll", 87);

using CloudWaterRecordsTest = FxTest;

TEST_F(CloudWaterRecordsTest, KindsStoreTheirFieldsAheadOfTheirBase) {
  DS_CloudFX clouds;
  clouds.color1.SetValue(1);
  clouds.color2.SetValue(2);
  clouds.cloudLink = DS_ImageFileLink(u"glimres.dll", 87);
  clouds.secondLink = DS_ImageFileLink(u"sky.png", 5);
  clouds.threshold.SetValue(3);
  clouds.density.SetValue(4);
  clouds.perspective.depthB.SetValue(5);
  clouds.perspective.heightC.SetValue(6);
  clouds.perspective.shiftX.SetValue(7);
  clouds.perspective.flipFlag.SetValue(8);
  clouds.perspective.valueD.SetValue(9);
  clouds.perspective.valueE.SetValue(10);
  clouds.directionAngle.SetValue(45);
  ExpectLayout(Written([&](DS_IOF_Archive& a) { clouds.Save(a); }), u"DS_CloudFX", 1,
               {Word(1), Word(2), Link(u"glimres.dll", 87), Link(u"sky.png", 5), Word(3), Word(4),
                Word(5), Word(6), Word(7), Word(8), Word(9), Word(10)},
               u"DS_DirectionBased");
  ExpectRoundTrip(clouds);

  DS_WaterFX water;
  water.surface.SetValue(1);
  water.bumpScale.SetValue(2);
  water.direction2Scale.SetValue(3);
  water.direction1Scale.SetValue(4);
  water.angle.SetValue(5);
  water.shadows.SetValue(6);
  water.lightHeight.SetValue(7);
  water.color.SetValue(0x0A0B0C);
  ExpectLayout(Written([&](DS_IOF_Archive& a) { water.Save(a); }), u"DS_WaterFX", 1,
               {Word(1), Word(2), Word(3), Word(4), Word(5), Word(6), Word(7), Word(0x0A0B0C),
                Link(u"glimres.dll", 89)},
               u"DS_FX_Constructor");
  ExpectRoundTrip(water);

  // The read values reach the scaled ones; the flip flag and the angle are stored straight.
  auto read = ReadBrush<DS_CloudFX>(Written([&](DS_IOF_Archive& a) { clouds.Save(a); }));
  ASSERT_NE(read, nullptr);
  EXPECT_FLOAT_EQ(read->perspective.depthB.Scaled(), 1.1f);
  EXPECT_FLOAT_EQ(read->threshold.Scaled(), 1.06f);
  EXPECT_EQ(read->perspective.flipFlag.Value(), 8);
}

TEST_F(BrushValuesTest, CloudsLieInPerspectiveOverTheirQuad) {
  DS_CloudFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", kCloudEffect);
  brush.maskQuad.SetRect(800, 600, D3DXVECTOR3(400, 300, 0));
  DS_FX_Constructor& plain = Drawn(brush);
  ExpectNear(Values(plain, "PX_Transform", 1), {0});
  ExpectNear(Values(plain, "PY_TransformH", 1), {1});
  ExpectNear(Values(plain, "PY_TransformZ", 1), {0});
  ExpectNear(Values(plain, "tex_shift", 4), {1, 1, 0, 0});
  ExpectNear(Values(plain, "Velocity", 2), {0, 0});
  ExpectNear(Values(plain, "Threshold", 1), {1});
  ExpectNear(Values(plain, "Density", 1), {0});
  ExpectNear(Values(plain, "Scale", 2), {800.0f / 600.0f / 0.4f, 2.5f});
  ExpectNear(Values(plain, "mask_tex_shift", 4), {1, 0, 1, 0}, 1e-6f, "the whole scene");
  gfx::Texture* background = nullptr;
  ASSERT_EQ(plain.effect->GetTexture("Background", &background), gfx::kOk);
  EXPECT_EQ(background, nullptr) << "no cloud picture";

  brush.perspective.flipFlag.SetValue(1);
  brush.perspective.shiftX.SetValue(30);
  brush.perspective.depthB.SetValue(50);  // b = 2
  brush.perspective.heightC.SetValue(4);  // c = 1
  brush.color1.SetValue(0x0080FF);
  brush.maskQuad.SetRect(200, 150, D3DXVECTOR3(300, 375, 0));
  brush.speed.SetValue(1000);  // 1 a second
  brush.directionAngle.SetValue(90);
  gfx::Texture* picture = ProvidePicture(kCloudPicture, 16, 16, 0xFFFFFFFF);
  brush.cloudLink = kCloudPicture;
  DS_FX_Constructor& set = Drawn(brush, 1.0f);
  ExpectNear(Values(set, "tex_shift", 4), {1, -1, -0.3f, 1});
  ExpectNear(Values(set, "PX_Transform", 1), {0.5f});
  ExpectNear(Values(set, "PY_TransformH", 1), {1.5f});
  ExpectNear(Values(set, "PY_TransformZ", 1), {1});
  ExpectNear(Values(set, "ColorK1", 3), {1, 128.0f / 255, 0});
  ExpectNear(Values(set, "mask_tex_shift", 4), {0.25f, 0.25f, 0.25f, 0.5f});
  ExpectNear(Values(set, "Velocity", 2), {0, set.Phase()}, 1e-6f, "drifting up the screen");
  EXPECT_NEAR(set.Phase(), 1.0f, 1e-4f);
  ASSERT_EQ(set.effect->GetTexture("Background", &background), gfx::kOk);
  EXPECT_EQ(background, picture);
  if (background != nullptr) background->Release();

  // Its picture is its Background: it reads no picture below in any mode.
  for (int mode : {0, 1, 2}) {
    brush.mode.SetValue(mode);
    auto object = MakeObject(brush);
    EXPECT_EQ(object->NeedsPictureBelow(), 0) << mode;
    EXPECT_FALSE(object->NeedsTargetCopy()) << mode;
  }
}

TEST_F(BrushValuesTest, WaterLightsItsSlopesAndTurnsItsBumps) {
  DS_WaterFX brush;
  DS_FX_Constructor& plain = Drawn(brush);
  ExpectNear(Values(plain, "P1", 3), {-0.998f, -1, -0.998f});
  const float e = 2.0f / 0.002f - 1.0f;
  ExpectNear(Values(plain, "P2", 3), {1, (std::sqrt(e) + e) / (e - 1), 1});
  const float root5 = std::sqrt(5.0f);
  ExpectNear(Values(plain, "Vhalf", 3), {1 / root5, 2 / root5, 0});
  ExpectNear(Values(plain, "Color", 3), {1, 1, 1});
  ExpectNear(Values(plain, "BampTrans", 4), {0.02f, 0, 0, 0.02f}, 1e-6f, "phase 0");
  ExpectNear(Values(plain, "Time", 1), {0});
  ExpectNear(Values(plain, "Scale", 2), {800.0f / 600.0f / 0.6f, 1 / 0.6f});
  const float a = 40 * 3.1415927f / 180;
  ExpectNear(Values(plain, "Direction2", 2),
             {-0.5f * 0.005f * std::cos(a), -0.5f * 0.005f * std::sin(a)});

  // The angle turns the direction as it is (90 is down the screen); the read brush keeps its
  // direction, its run-time copy follows the angle.
  brush.angle.SetValue(90);
  brush.lightHeight.SetValue(10);
  auto read = ReadBrush<DS_WaterFX>(Written([&](DS_IOF_Archive& a) { brush.Save(a); }));
  ASSERT_NE(read, nullptr);
  EXPECT_NEAR(read->direction.x, std::cos(a), 1e-6f);
  DS_FX_Constructor& turned = Drawn(*read, 0.5f);
  ExpectNear(Values(turned, "Direction1", 2), {0, -0.5f / 0.011f}, 1e-4f);
  ExpectNear(Values(turned, "Vhalf", 3),
             {1 / std::sqrt(6.0f), 2 / std::sqrt(6.0f), 1 / std::sqrt(6.0f)});
  const float p = turned.Phase(), w = 4.5f * p;
  EXPECT_NEAR(p, 0.5f, 1e-4f);
  ExpectNear(Values(turned, "BampTrans", 4),
             {0.02f * std::cos(w), -0.02f * std::sin(w), 0.02f * std::sin(w), 0.02f * std::cos(w)});
  ExpectNear(Values(turned, "Time", 1), {2 * p});
}

// Stored values up to 2 (20000) are drawn as they are; only those whose refraction is not finite
// count as the nearest stored value whose refraction is.
TEST_F(BrushValuesTest, WaterSurfaceValuesAreDrawnAsTheyAreWhereTheRefractionIsFinite) {
  DS_WaterFX brush;
  const std::pair<unsigned, float> cases[] = {{0, 0.0001f},     {1, 0.0001f},  {9999, 0.9999f},
                                              {10000, 0.9999f}, {15000, 1.5f}, {19999, 1.9999f},
                                              {20000, 2.0f},    {20001, 2.0f}, {0xFFFFFFFF, 2.0f}};
  for (const auto& [stored, n] : cases) {
    SCOPED_TRACE(stored);
    brush.surface.SetValue(stored);
    DS_FX_Constructor& drawn = Drawn(brush);
    ExpectNear(Values(drawn, "P1", 3), {n - 1, -1, n - 1});
    for (float v : Values(drawn, "P2", 3))
      EXPECT_TRUE(std::isfinite(v));
  }
  // Above 1 the refraction turns: e = 1/3 at 1.5 gives -(sqrt 3 + 1) / 2.
  brush.surface.SetValue(15000);
  EXPECT_NEAR(Values(Drawn(brush), "P2", 3)[1], -(std::sqrt(3.0f) + 1) / 2, 1e-4f);
}

class CloudWaterPixelsTest : public BrushFrameTest {
 protected:
  static uint32_t At(const std::vector<uint32_t>& frame, uint32_t x, uint32_t y) {
    return frame[y * 64 + x];
  }
};

TEST_F(CloudWaterPixelsTest, CloudsCoverWhereThePicturePassesTheThresholdAndDrift) {
  StartSlideOn(renderer_, 64, 64, 0xFF0000FF);  // blue
  Frame(renderer_);
  const std::vector<uint32_t> sky = BackBufferPixels();
  // A cloud picture bright on its left half, dim on its right.
  std::vector<uint32_t> texels(64 * 64);
  for (uint32_t i = 0; i < texels.size(); ++i)
    texels[i] = i % 64 < 32 ? 0xFFFFFFFF : 0xFF333333;
  ProvidePicture(kCloudPicture, 64, 64, 64, 64, texels);

  DS_CloudFX brush;
  brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", kCloudEffect);
  brush.cloudLink = kCloudPicture;
  brush.color1.SetValue(0x0000FF);  // red
  brush.color2.SetValue(0x0000FF);
  brush.threshold.SetValue(25);  // 1.5: a brightness above 0.5
  brush.density.SetValue(250);   // 5
  brush.scale.SetValue(125);     // the picture once over the quad
  brush.speed.SetValue(1000);    // 1 a second
  brush.maskQuad.SetRect(64, 32, D3DXVECTOR3(32, 16, 0));
  auto object = MakeObject(brush);
  const auto still = FrameAfter(object, 0.0f, 0.0f);
  EXPECT_EQ(At(still, 16, 16), 0xFFFF0000u) << "the bright half is cloud";
  EXPECT_EQ(At(still, 48, 16), At(sky, 48, 16)) << "the dim half stays sky";
  EXPECT_LE(
      MaxDifference({still.begin() + 32 * 64, still.end()}, {sky.begin() + 32 * 64, sky.end()}), 2)
      << "outside the quad";

  // Half a turn of the picture later the clouds have drifted half across.
  const auto drifted = FrameAfter(object, 0.1f, 0.5f);
  EXPECT_EQ(At(drifted, 16, 16), At(sky, 16, 16));
  EXPECT_EQ(At(drifted, 48, 16), 0xFFFF0000u);
}

TEST_F(CloudWaterPixelsTest, WaterRipplesInsideItsMaskAndMoves) {
  const std::vector<uint32_t> picture = StartStripedSlide(renderer_);
  ProvidePicture(DS_ImageFileLink(u"glimres.dll", 89), 64, 64, 64, 64, renderer_test::Ramp(64));
  // White over the left half, black over the right.
  std::vector<uint32_t> mask(64 * 64);
  for (uint32_t i = 0; i < mask.size(); ++i)
    mask[i] = i % 64 < 32 ? 0xFFFFFFFF : 0xFF000000;
  DS_WaterFX brush;
  brush.surface.SetValue(3000);
  brush.bumpScale.SetValue(300);
  GiveMask(brush, MakeTexture(64, 64, mask));
  auto object = MakeObject(brush);
  const auto first = FrameAfter(object, 0.0f, 0.5f);
  const auto [inside, outside] =
      RegionDifferences(first, picture, [](uint32_t x, uint32_t) { return x < 32; });
  EXPECT_GT(inside, 100);
  EXPECT_LE(outside, 2);
  EXPECT_GT(MaxDifference(first, FrameAfter(object, 0.6f, 1.0f)), 60) << "the ripples move";
}

}  // namespace
}  // namespace fx_test
