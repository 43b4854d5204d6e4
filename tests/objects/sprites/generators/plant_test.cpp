// The plant: its clock, the parameters of its sway and what the sway draws.
#include "generator_fixture.h"
#include "objects/sprites/generators/ds_plant.h"

namespace generator_test {
namespace {

constexpr uint32_t kGrey = 0xFF808080;

class Plant : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    StartSlideOn(renderer_, width_, height_, kGrey);
    // A white stem two columns wide down the middle of a clear picture.
    std::vector<uint32_t> texels(16 * 16, 0);
    for (int y = 0; y < 16; ++y)
      texels[size_t(y) * 16 + 7] = texels[size_t(y) * 16 + 8] = 0xFFFFFFFF;
    ProvidePicture(kStem, 16, 16, 16, 16, texels);
  }

  // The stem on a 32 x 32 rectangle in the middle of the scene, swaying 0.25 picture widths at
  // its top, through effect 1804.
  DS_Plant Stem() {
    DS_Plant plant;
    plant.pictures = {kStem};
    plant.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1804);
    plant.rectangle.SetRect(32, 32, D3DXVECTOR3(32, 16, 0));
    plant.plantSpeed.SetValue(50);
    plant.frequency.SetValue(10);       // 1 radian per second
    plant.swayMagnitude.SetValue(125);  // 0.25
    return plant;
  }

  Running<DS_Plant> RunTo(DS_Plant& plant, float until) {
    Running<DS_Plant> run = StartRuntime(plant);
    if (run.obj == nullptr) return run;
    for (float t = 0.0f; t <= until + 1e-4f; t += 0.05f)
      run.obj->Update(t);
    return run;
  }
  uint32_t At(int x, int y) { return BackBufferPixels()[size_t(y) * width_ + x]; }
  // The first column from the left where row y is white.
  int WhiteAt(int y) {
    for (int x = 0; x < int(width_); ++x)
      if (Channel(At(x, y), 8) > 0xC0) return x;
    return -1;
  }

  const DS_ImageFileLink kStem{u"stem.png", 21};
  DS_2D_Light renderer_;
};

TEST_F(Plant, SpeedFiftyAdvancesTimeOnePerSecondWithStepsCapped) {
  DS_Plant plant = Stem();
  auto run = RunTo(plant, 1.0f);
  ASSERT_NE(run.obj, nullptr);
  EXPECT_NEAR(run.Clone().plantSpeed.localTime, 1.0f, 1e-3f);
  run.obj->Update(3.0f);  // a jump of 2 s counts 0.2 s
  EXPECT_NEAR(run.Clone().plantSpeed.localTime, 1.2f, 1e-3f);
}

TEST_F(Plant, TheEffectTakesTheScaledValuesAndTimeModeOneSetsTheAlpha) {
  for (const auto& [mode, alpha] : {std::pair{1, 0.5f}, {0, 1.0f}}) {
    SCOPED_TRACE(mode);
    DS_Plant plant = Stem();
    plant.bendMagnitude.SetValue(50);
    SetTimelineValue(plant, 0.5f);
    plant.timing.timeMode.SetValue(mode);
    auto run = RunTo(plant, 0.5f);
    ASSERT_NE(run.obj, nullptr);
    Frame(renderer_, {run.handle});
    gfx::Effect* e = run.Clone().effect.Get();
    ASSERT_NE(e, nullptr);
    float color[4] = {}, value = 0.0f;
    ASSERT_EQ(e->GetFloatArray("color", color, 4), gfx::kOk);
    EXPECT_FLOAT_EQ(color[0], 1.0f);
    EXPECT_FLOAT_EQ(color[3], alpha);
    ASSERT_EQ(e->GetFloatArray("Time", &value, 1), gfx::kOk);
    EXPECT_NEAR(value, 0.5f, 1e-3f);
    ASSERT_EQ(e->GetFloatArray("Frequency", &value, 1), gfx::kOk);
    EXPECT_FLOAT_EQ(value, 1.0f);
    ASSERT_EQ(e->GetFloatArray("WMagnitude", &value, 1), gfx::kOk);
    EXPECT_FLOAT_EQ(value, 0.25f);
    ASSERT_EQ(e->GetFloatArray("BMagnitude", &value, 1), gfx::kOk);
    EXPECT_FLOAT_EQ(value, 0.1f);
  }
}

// At Time 0 the stem stands straight; later its top row has moved sideways while the bottom row
// stays where it was.
TEST_F(Plant, TheTopSwaysWhileTheBottomStays) {
  int top[2] = {}, bottom[2] = {};
  const float times[2] = {0.0f, 1.5f};
  for (int i = 0; i < 2; ++i) {
    DS_Plant plant = Stem();
    auto run = RunTo(plant, times[i]);
    ASSERT_NE(run.obj, nullptr);
    Frame(renderer_, {run.handle});
    top[i] = WhiteAt(1);
    bottom[i] = WhiteAt(31);
    EXPECT_EQ(At(2, 16), kGrey);
  }
  EXPECT_GE(top[0], 0);
  EXPECT_EQ(bottom[0], bottom[1]);
  EXPECT_GT(top[1], top[0] + 4);
}

TEST_F(Plant, RecordsRoundTripAndVersionOneDropsTheTwoFloats) {
  DS_Plant plant = Stem();
  plant.bendMagnitude.SetValue(30);
  ReadResult read = RoundTrip(plant);
  ASSERT_NE(read.object, nullptr);
  EXPECT_FLOAT_EQ(As<DS_Plant>(read).plantSpeed.Scaled(), 1.0f);
  EXPECT_FLOAT_EQ(As<DS_Plant>(read).frequency.Scaled(), 1.0f);
  EXPECT_FLOAT_EQ(As<DS_Plant>(read).swayMagnitude.Scaled(), 0.25f);
  EXPECT_FLOAT_EQ(As<DS_Plant>(read).bendMagnitude.Scaled(), 0.06f);

  const std::vector<uint8_t> v1 = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_Plant", 1);
    for (unsigned value : {50u, 10u, 125u, 30u})
      archive.io().WriteUInt32(value);
    WriteRecordHeader(archive, u"DS_SingleRectGN", 1);
    WriteMediaQuad(archive, plant.rectangle);
    archive.io().WriteFloat(1.0f);
    archive.io().WriteFloat(2.0f);
    plant.DS_StaticGenerator::Save(archive);
  });
  read = ReadDescription(v1);
  ASSERT_TRUE(ReadWhole(read));
  EXPECT_EQ(As<DS_Plant>(read).rectangle.corners[3].Value(), D3DXVECTOR3(48, 32, 0));

  const std::vector<uint8_t> bytes = SavedBytes(plant);
  EXPECT_TRUE(ReadDescription(std::vector<uint8_t>(bytes.begin(), bytes.end() - 1)).failed);
}

}  // namespace
}  // namespace generator_test
