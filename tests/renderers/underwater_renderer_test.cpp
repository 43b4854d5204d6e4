#include <gtest/gtest.h>

#include "renderer_fixture.h"
#include "renderers/underwater/fake_undervater.h"

namespace renderer_test {
namespace {

class UnderwaterTest : public RendererTest {
 protected:
  static constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

  UnderwaterTest() : RendererTest(64, 64) {}

  void SetUp() override {
    RendererTest::SetUp();
    ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 64, 64, 64, 64,
                   Stripes(64, 64, 8, kBlack, kWhite));
    DS_2D_Light plain;
    StartSlide(plain);
    Frame(plain);
    picture_ = BackBufferPixels();
  }

  // The frame at slide time t.
  std::vector<uint32_t> FrameAt(DS_2D_Light& renderer, float t) {
    renderer.Update(t);
    Frame(renderer);
    return BackBufferPixels();
  }

  std::vector<uint32_t> picture_;  // the striped picture as the plain renderer shows it
};

TEST_F(UnderwaterTest, RecordsOfBothVersions) {
  FakeUndervater renderer;
  EXPECT_EQ(renderer.effect.effectLink.id, 88);
  renderer.effect.amplitude.SetValue(80);
  renderer.effect.speed.SetValue(40);
  renderer.backgroundLink = DS_ImageFileLink(u"pictures.dll", 3);
  const auto bytes = Written([&](DS_IOF_Archive& a) { renderer.Save(a); });
  auto back = ReadRenderer(bytes);
  auto* read = dynamic_cast<FakeUndervater*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->effect.amplitude.Value(), 80u);
  EXPECT_EQ(read->effect.maskId, renderer.effect.maskId);
  EXPECT_EQ(read->backgroundLink.id, 3);
  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { read->Save(a); }), bytes);

  // Version 1 holds only a speed, which the brush takes halved.
  const auto v1 = Written([](DS_IOF_Archive& a) {
    a.io().WriteWideString(u"FakeUndervater");
    a.io().WriteDword(1);
    a.io().WriteUInt32(50);
    DS_2D_Light().Save(a);
  });
  back = ReadRenderer(v1);
  read = dynamic_cast<FakeUndervater*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->effect.speed.Value(), 25u);
  EXPECT_FLOAT_EQ(read->effect.amplitude.Scaled(), 0.00625f);
}

TEST_F(UnderwaterTest, RippleValuesFollowThePicture) {
  FakeUndervater renderer;
  StartSlideOn(renderer, 800, 600, kWhite);
  renderer.Update(0.0f);
  renderer.Update(1.0f);
  Frame(renderer);
  gfx::Effect* effect = renderer.effect.effect.Get();
  ASSERT_NE(effect, nullptr);
  float frequency[2], amplitude = 0, time = 0, scale[2];
  effect->GetFloatArray("frequency", frequency, 2);
  effect->GetFloatArray("amplitude", &amplitude, 1);
  effect->GetFloatArray("time", &time, 1);
  effect->GetFloatArray("Scale", scale, 2);
  EXPECT_FLOAT_EQ(frequency[0], 13.20132f);
  EXPECT_FLOAT_EQ(frequency[1], 9.90099f);
  EXPECT_FLOAT_EQ(amplitude, 0.00625f);
  EXPECT_FLOAT_EQ(time, 0.2f * 25 * 0.08f) << "a gap of a second steps 0.2 s";
  EXPECT_FLOAT_EQ(scale[0], 800.0f / 600.0f);
  EXPECT_FLOAT_EQ(scale[1], 1.0f);
}

// A slide without objects is drawn off screen and shown through the effect; at amplitude 0
// that is the picture itself.
TEST_F(UnderwaterTest, AmplitudeZeroShowsThePictureThroughTheEffect) {
  FakeUndervater renderer;
  renderer.effect.amplitude.SetValue(0);
  StartSlide(renderer);
  ClearLog();
  const auto frame = FrameAt(renderer, 1.0f);
  EXPECT_LE(MaxDifference(frame, picture_), 2);

  const uint64_t backBuffer = BackBuffer()->Id();
  bool offscreen = false, rippled = false;
  for (const gfx::FrameLogEntry& entry : Log()) {
    if (entry.kind != gfx::FrameLogEntry::Kind::Draw) continue;
    offscreen |= entry.target != backBuffer;
    rippled |= entry.technique == "Main" && entry.target == backBuffer;
  }
  EXPECT_TRUE(offscreen);
  EXPECT_TRUE(rippled);
  EXPECT_FALSE(renderer.targets.Begun());
}

TEST_F(UnderwaterTest, TheRippleBendsTheStripesAndTravels) {
  FakeUndervater renderer;
  StartSlide(renderer);
  renderer.Update(0.0f);
  const auto first = FrameAt(renderer, 0.1f);
  const auto later = FrameAt(renderer, 0.3f);
  // Along the edge between the first two stripes the picture has one value in every row; the
  // rippled edge moves from row to row.
  uint32_t lowest = 0xFF, highest = 0;
  for (uint32_t y = 0; y < 64; ++y) {
    const uint32_t grey = first[y * 64 + 8] & 0xFF;
    lowest = std::min(lowest, grey);
    highest = std::max(highest, grey);
  }
  EXPECT_GT(highest - lowest, 40u);
  EXPECT_GT(MaxDifference(first, later), 20);
  // A small ripple: the middle of every stripe keeps its colour.
  for (uint32_t y = 0; y < 64; y += 7)
    for (uint32_t x = 3; x < 64; x += 8)
      EXPECT_EQ(first[y * 64 + x], picture_[y * 64 + x]) << x << ", " << y;
}

TEST_F(UnderwaterTest, WithoutItsEffectThePictureShowsUnchanged) {
  FakeUndervater renderer;
  renderer.effect.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1);  // no such effect
  StartSlide(renderer);
  ASSERT_FALSE(renderer.effect.effect);
  EXPECT_LE(MaxDifference(FrameAt(renderer, 1.0f), picture_), 2);
  EXPECT_FALSE(renderer.targets.Begun());
}

}  // namespace
}  // namespace renderer_test
