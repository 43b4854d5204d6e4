// The wandering animation: its wanderers, their quads, its region and its records.
#include "core/list_limits.h"
#include "generator_fixture.h"
#include "objects/sprites/generators/ds_brown_animation.h"

namespace generator_test {
namespace {

class BrownAnimation : public SpriteTest {
 protected:
  // Wanderers of an 8 x 10 picture in the region (10, 4)-(30, 20).
  DS_BrownAnimation Fireflies(unsigned count) {
    ProvidePicture(kPicture, 8, 10, 0xFFFFFFFF);
    DS_BrownAnimation flies;
    flies.pictures = {kPicture};
    flies.region.SetRect(20, 16, D3DXVECTOR3(20, 12, 0));
    flies.wandererCount.SetValue(count);
    flies.pictureScale.SetValue(100);
    flies.motionScale.SetValue(25);
    return flies;
  }

  const DS_ImageFileLink kPicture{u"fly.png", 31};
};

TEST_F(BrownAnimation, LoweringTheCountDropsTheLastWanderersAndRaisingItAddsInTheRegion) {
  DS_BrownAnimation flies = Fireflies(10);
  auto run = StartRuntime(flies);
  ASSERT_NE(run.obj, nullptr);
  run.obj->Update(0.0f);
  DS_BrownAnimation& clone = run.Clone();
  ASSERT_EQ(clone.sources.size(), 10u);
  std::vector<D3DXVECTOR3> first;
  for (const GeneratorParticle& fly : clone.sources) {
    first.push_back(fly.position);
    EXPECT_GE(fly.position.x, 10.0f);
    EXPECT_LE(fly.position.x, 30.0f);
    EXPECT_GE(fly.position.y, 4.0f);
    EXPECT_LE(fly.position.y, 20.0f);
  }
  clone.wandererCount.SetValue(6);
  clone.AdjustWandererCount();
  ASSERT_EQ(clone.sources.size(), 6u);
  size_t i = 0;
  for (const GeneratorParticle& fly : clone.sources)
    EXPECT_EQ(fly.position, first[i++]);
  clone.wandererCount.SetValue(8);
  run.obj->Update(0.1f);
  EXPECT_EQ(clone.sources.size(), 8u);
  EXPECT_EQ(run.obj->QuadCount(0), 8u);
}

TEST_F(BrownAnimation, ScaleHundredDrawsThePicturesPixelSizeAndZeroNoSize) {
  for (const auto& [scale, w, h] : {std::tuple{100u, 8.0f, 10.0f}, {0u, 0.0f, 0.0f}}) {
    SCOPED_TRACE(scale);
    DS_BrownAnimation flies = Fireflies(3);
    flies.pictureScale.SetValue(scale);
    auto run = StartRuntime(flies);
    ASSERT_NE(run.obj, nullptr);
    run.obj->Update(0.0f);
    const auto v = LayerVertices(*run.obj, 0);
    ASSERT_EQ(v.size(), 12u);
    const auto [width, height] = QuadExtent(v, 2);
    EXPECT_NEAR(width, w, 1e-4f);
    EXPECT_NEAR(height, h, 1e-4f);
  }
}

// Steps of 0.1 s pass the impulse time of 0.02 s: the turns home still act, so the wanderers
// keep near their region instead of drifting away at their first speed.
TEST_F(BrownAnimation, WanderersStayNearTheirRegionAtStepsPastTheImpulseTime) {
  DS_BrownAnimation flies = Fireflies(20);
  auto run = StartRuntime(flies);
  ASSERT_NE(run.obj, nullptr);
  run.obj->Update(0.0f);
  const D3DXVECTOR3 start = run.Clone().sources.front().position;
  for (float t = 0.1f; t < 20.0f; t += 0.1f)
    run.obj->Update(t);
  EXPECT_NE(run.Clone().sources.front().position, start);
  for (const GeneratorParticle& fly : run.Clone().sources) {
    EXPECT_GT(fly.position.x, -40.0f);
    EXPECT_LT(fly.position.x, 80.0f);
  }
}

TEST_F(BrownAnimation, WithoutAPictureNothingIsDrawn) {
  DS_BrownAnimation flies = Fireflies(4);
  flies.pictures.clear();
  auto run = StartRuntime(flies);
  ASSERT_NE(run.obj, nullptr);
  run.obj->Update(0.0f);
  EXPECT_EQ(run.Clone().sources.size(), 4u);
  EXPECT_EQ(run.obj->QuadCount(0), 0u);
}

TEST_F(BrownAnimation, CountsAreCapped) {
  DS_BrownAnimation flies = Fireflies(0xFFFFFFFFu);
  flies.pictures.clear();
  auto run = StartRuntime(flies);
  ASSERT_NE(run.obj, nullptr);
  run.Clone().AdjustWandererCount();
  EXPECT_EQ(run.Clone().sources.size(), kMaxParticlesPerList);
}

TEST_F(BrownAnimation, AnUnplacedAnimationTakesTheWholeScene) {
  DS_BrownAnimation flies = Fireflies(1);
  flies.keepGuid = 0;
  auto run = StartRuntime(flies);
  ASSERT_NE(run.obj, nullptr);
  EXPECT_EQ(run.Clone().region.corners[3].Value(), D3DXVECTOR3(float(width_), float(height_), 0));
  EXPECT_EQ(flies.region.corners[3].Value(), D3DXVECTOR3(30, 20, 0));
}

TEST_F(BrownAnimation, RecordsRoundTripAndVersionOnePlaysFramesAtSpeedOne) {
  DS_BrownAnimation flies = Fireflies(7);
  flies.meanWait.SetValue(10);
  flies.impulseTime.SetValue(4);
  flies.frameSpeed.SetValue(30);
  ReadResult read = RoundTrip(flies);
  ASSERT_NE(read.object, nullptr);
  const auto& back = As<DS_BrownAnimation>(read);
  EXPECT_EQ(back.wandererCount.Value(), 7u);
  EXPECT_FLOAT_EQ(back.motionScale.Scaled(), 1.0f);
  EXPECT_FLOAT_EQ(back.meanWait.Scaled(), 1.05f);
  EXPECT_FLOAT_EQ(back.impulseTime.Scaled(), 0.1f);
  EXPECT_FLOAT_EQ(back.frameSpeed.Scaled(), 0.3f);
  EXPECT_EQ(back.region.corners[0].Value(), D3DXVECTOR3(10, 4, 0));

  const std::vector<uint8_t> v1 = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_BrownAnimation", 1);
    for (unsigned value : {7u, 100u, 25u, 10u, 4u})
      archive.io().WriteUInt32(value);
    flies.DS_ParticleRctRgnGenerator::Save(archive);
  });
  read = ReadDescription(v1);
  ASSERT_TRUE(ReadWhole(read));
  EXPECT_FLOAT_EQ(As<DS_BrownAnimation>(read).frameSpeed.Scaled(), 1.0f);
  const std::vector<uint8_t> bytes = SavedBytes(flies);
  for (size_t cut : {bytes.size() / 3, bytes.size() - 1})
    EXPECT_TRUE(ReadDescription(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut)).failed);
}

}  // namespace
}  // namespace generator_test
