// The single-rectangle base and the static animation: the rectangle's quad, the frames played
// forwards and backwards, the draw through effect 116 and the records.
#include "generator_fixture.h"
#include "objects/sprites/generators/ds_static_animation.h"

namespace generator_test {
namespace {

constexpr uint32_t kGrey = 0xFF808080;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

class StaticAnimation : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    StartSlideOn(renderer_, width_, height_, kGrey);
    // Two frames of half a second: red, then blue.
    ProvidePicture(kFrames, 8, 8, kRed);
    ProvidePicture(kSecond, 8, 8, kBlue);
    ImageTextureSet& set = Doc().imageTextureSets[kFrames.Key()];
    set.textures.push_back(Doc().imageTextureSets[kSecond.Key()].textures.front());
    set.delays = {0.5f, 0.5f};
  }

  // The middle of the scene, 32 x 16, with the two frames at speed 1.0.
  DS_StaticAnimation Lamp() {
    DS_StaticAnimation lamp;
    lamp.pictures = {kFrames};
    lamp.rectangle.SetRect(32, 16, D3DXVECTOR3(32, 16, 0));
    lamp.frameSpeed.SetValue(100);
    return lamp;
  }

  Running<DS_StaticAnimation> RunTo(DS_StaticAnimation& lamp, float until) {
    Running<DS_StaticAnimation> run = StartRuntime(lamp);
    if (run.obj == nullptr) return run;
    for (float t = 0.0f; t <= until + 1e-4f; t += 0.05f)
      run.obj->Update(t);
    return run;
  }
  uint32_t At(int x, int y) { return BackBufferPixels()[size_t(y) * width_ + x]; }

  const DS_ImageFileLink kFrames{u"lamp.png", 11};
  const DS_ImageFileLink kSecond{u"lamp2.png", 12};
  DS_2D_Light renderer_;
};

TEST_F(StaticAnimation, ANewAnimationLinksEffect116) {
  const DS_StaticAnimation lamp;
  EXPECT_EQ(lamp.effectLink.name, u"glimres.dll");
  EXPECT_EQ(lamp.effectLink.id, 116);
}

TEST_F(StaticAnimation, FramesChangeOnTheRectangleAndTheGreyAroundStays) {
  for (const auto& [until, colour] : {std::pair{0.2f, kRed}, {0.7f, kBlue}}) {
    SCOPED_TRACE(until);
    DS_StaticAnimation lamp = Lamp();
    auto run = RunTo(lamp, until);
    ASSERT_NE(run.obj, nullptr);
    Frame(renderer_, {run.handle});
    EXPECT_EQ(At(32, 16), colour);
    EXPECT_EQ(At(2, 2), kGrey);
  }
}

TEST_F(StaticAnimation, ReversedFromFrameZeroGoesToTheLast) {
  DS_StaticAnimation lamp = Lamp();
  lamp.reverse.SetValue(1);
  auto run = RunTo(lamp, 0.4f);
  ASSERT_NE(run.obj, nullptr);
  EXPECT_EQ(run.Clone().textures[0].frameIndex, 0u);
  for (float t = 0.45f; t <= 0.65f; t += 0.05f)
    run.obj->Update(t);
  EXPECT_EQ(run.Clone().textures[0].frameIndex, 1u);
}

TEST_F(StaticAnimation, ColorAlphaFollowsTheTimeline) {
  DS_StaticAnimation lamp = Lamp();
  lamp.colour1.SetValue(0x0000FF);  // red, as a COLORREF
  SetTimelineValue(lamp, 0.5f);
  auto run = RunTo(lamp, 0.1f);
  ASSERT_NE(run.obj, nullptr);
  Frame(renderer_, {run.handle});
  ASSERT_NE(run.Clone().effect.Get(), nullptr);
  float color[4] = {};
  ASSERT_EQ(run.Clone().effect->GetFloatArray("Color", color, 4), gfx::kOk);
  EXPECT_FLOAT_EQ(color[0], 1.0f);
  EXPECT_FLOAT_EQ(color[2], 0.0f);
  EXPECT_FLOAT_EQ(color[3], 0.5f);
  // Half the red over the grey.
  EXPECT_NEAR(Channel(At(32, 16), 16), (0xFF + 0x80) / 2, 2);
}

TEST_F(StaticAnimation, WithoutItsEffectOrPictureNothingIsDrawn) {
  DS_StaticAnimation lamp = Lamp();
  lamp.effectLink = DS_HLSLEffectFile(u"missing.dll", 9);
  DS_StaticAnimation bare = Lamp();
  bare.pictures.clear();
  for (DS_StaticAnimation* kind : {&lamp, &bare}) {
    auto run = RunTo(*kind, 0.1f);
    ASSERT_NE(run.obj, nullptr);
    Frame(renderer_, {run.handle});
    EXPECT_EQ(At(32, 16), kGrey);
  }
}

// Second and third mode mirror the picture top to bottom and left to right: both turn it 180°.
TEST_F(StaticAnimation, TheModesMirrorTheRectangleQuad) {
  struct Case {
    int second, third;
    float u0, v0;
  };
  for (const Case& c : {Case{0, 0, 0, 1}, Case{1, 0, 0, 0}, Case{0, 1, 1, 1}, Case{1, 1, 1, 0}}) {
    SCOPED_TRACE(c.second * 2 + c.third);
    DS_StaticAnimation lamp = Lamp();
    lamp.secondMode.SetValue(c.second);
    lamp.thirdMode.SetValue(c.third);
    auto run = StartRuntime(lamp);
    ASSERT_NE(run.obj, nullptr);
    const auto v = LayerVertices(*run.obj, 0);
    ASSERT_EQ(v.size(), 4u);
    // The first vertex is corner 1, (16, 24).
    EXPECT_EQ(v[0].x, lamp.rectangle.corners[1].Value().x);
    EXPECT_EQ(v[0].y, lamp.rectangle.corners[1].Value().y);
    EXPECT_EQ(v[0].u, c.u0);
    EXPECT_EQ(v[0].v, c.v0);
  }
}

TEST_F(StaticAnimation, RecordsRoundTripAndVersionOneDropsTwoFloats) {
  DS_StaticAnimation lamp = Lamp();
  lamp.reverse.SetValue(1);
  lamp.frameSpeed.SetValue(250);
  ReadResult read = RoundTrip(lamp);
  ASSERT_NE(read.object, nullptr);
  EXPECT_FLOAT_EQ(As<DS_StaticAnimation>(read).frameSpeed.Scaled(), 2.5f);
  EXPECT_EQ(As<DS_StaticAnimation>(read).reverse.Value(), 1);
  EXPECT_EQ(As<DS_StaticAnimation>(read).rectangle.corners[3].Value(), D3DXVECTOR3(48, 24, 0));

  const std::vector<uint8_t> v1 = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_StaticAnimation", 1);
    archive.io().WriteUInt32(100);
    archive.io().WriteInt32(0);
    WriteRecordHeader(archive, u"DS_SingleRectGN", 1);
    WriteMediaQuad(archive, lamp.rectangle);
    archive.io().WriteFloat(7.0f);
    archive.io().WriteFloat(8.0f);
    lamp.DS_StaticGenerator::Save(archive);
  });
  read = ReadDescription(v1);
  ASSERT_TRUE(ReadWhole(read));
  EXPECT_EQ(As<DS_StaticAnimation>(read).rectangle.corners[0].Value(), D3DXVECTOR3(16, 8, 0));

  const std::vector<uint8_t> bytes = SavedBytes(lamp);
  for (size_t cut : {bytes.size() / 3, bytes.size() - 1})
    EXPECT_TRUE(ReadDescription(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut)).failed);
}

}  // namespace
}  // namespace generator_test
