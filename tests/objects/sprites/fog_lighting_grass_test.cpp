// Fog, flashing lights and grass: the fog's turn, pulse and bounce, the lights' flashes and
// pauses and their records, the blades' sway about their feet.
#include <cmath>

#include "core/crt_rand.h"
#include "core/timing/random_timeline.h"
#include "objects/sprites/ds_fog_constructor.h"
#include "objects/sprites/ds_grass_constructor.h"
#include "objects/sprites/ds_lighting_constructor.h"
#include "platform/math/d3dx_math.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class FogLightingGrass : public SpriteTest {
 protected:
  FogLightingGrass() : SpriteTest(200, 100) {}
};

float AngleOf(const D3DXVECTOR3& axis) {
  return std::atan2(axis.y, axis.x);
}

// The fog turns by its sprite's angle once per frame, however long the frame; its centre bounces
// on the view's sides; its alpha holds at the pulse minimum without moving it.
TEST_F(FogLightingGrass, FogTurnsPerFrameBouncesAndPulses) {
  DS_FogConstructor fog;
  EXPECT_EQ(fog.transparency.Scaled(), 127);
  EXPECT_EQ(fog.pulseMin, 0.2f);
  for (float step : {1.0f / 30.0f, 1.0f / 60.0f}) {
    auto obj = MakeArray(fog);
    SpriteRecord& s = obj->Sprites()[0];
    D3DXMatrixRotationZ(&s.matrix, 0.004f);
    for (int i = 1; i <= 30; ++i)
      obj->Update(step * float(i));
    EXPECT_NEAR(AngleOf(s.axis1), 0.12f, 1e-4f) << step;
    EXPECT_NEAR(AngleOf(s.axis2), 3.1415927f / 2.0f + 0.12f, 1e-4f) << step;
  }

  auto obj = MakeArray(fog);
  SpriteRecord& s = obj->Sprites()[0];
  s.centre = D3DXVECTOR3(199, 50, 0);
  s.velocity = D3DXVECTOR3(20, 0, 0);
  s.alphaFactor = 0.25f;
  s.alphaRate = -1.0f;
  obj->Update(0.1f);
  EXPECT_EQ(s.velocity.x, -20.0f) << "its centre crossed the right side";
  EXPECT_EQ(s.centre.x, 201.0f);
  EXPECT_EQ(s.alphaFactor, 0.2f);
  EXPECT_EQ(s.alphaRate, 1.0f);
}

// A light placed wholly inside the view comes back on its first update with local time above 0,
// dims by 6 per motion second, and falls dark for a pause drawn from its range.
TEST_F(FogLightingGrass, LightsFlashAndPause) {
  DS_LightingConstructor light;
  EXPECT_EQ(light.blendMode.Value(), 1);
  EXPECT_TRUE(light.viewFlag);
  light.size.SetValue(40);
  light.count.SetValue(30);
  light.pauseMin.SetValue(50);
  light.pauseMax.SetValue(50);
  auto obj = MakeArray(light);
  for (const SpriteRecord& s : obj->Sprites()) {
    EXPECT_EQ(s.alphaFactor, 0.0f);
    EXPECT_GE(s.centre.x, 20.0f);
    EXPECT_LE(s.centre.x, 180.0f);
    EXPECT_GE(s.centre.y, 20.0f);
    EXPECT_LE(s.centre.y, 80.0f);
    EXPECT_NEAR(std::fabs(AngleOf(s.axis2) - 3.1415927f / 2.0f), 0.0f, 0.3927f);
  }
  obj->Update(0.05f);
  SpriteRecord& s = obj->Sprites()[0];
  EXPECT_EQ(s.alphaFactor, 1.0f);
  EXPECT_EQ(s.colour >> 24, 255u);
  EXPECT_EQ(obj->Sprites()[1].alphaFactor, 1.0f);
  // Dimming within the 0.15 s before the next chance of a flash.
  obj->Update(0.1f);
  EXPECT_FLOAT_EQ(s.alphaFactor, 0.7f);
  // Dark: a pause of the minimum, from the local time at which it fell dark.
  s.alphaFactor = 0.1f;
  s.eventTime = PresetOf<DS_LightingConstructor>(*obj).motionElapsed;
  obj->Update(0.15f);
  EXPECT_EQ(s.alphaFactor, 0.0f);
  EXPECT_FLOAT_EQ(s.pauseLength, 0.5f);
  EXPECT_EQ(s.eventTime, 0.15f);
  obj->Update(0.6f);
  EXPECT_EQ(s.alphaFactor, 0.0f) << "0.45 s into its pause";
  obj->Update(0.7f);
  EXPECT_EQ(s.alphaFactor, 1.0f);
}

// The pause: the minimum when the maximum is not above it (no draw); one draw over the range
// otherwise, the whole unsigned range included.
TEST_F(FogLightingGrass, PauseRange) {
  struct Case {
    unsigned min, max;
  };
  for (const Case& c : {Case{100, 100}, Case{300, 100}, Case{0, 4294967295u}, Case{20, 29}}) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max);
    DS_LightingConstructor light;
    light.pauseMin.SetValue(c.min);
    light.pauseMax.SetValue(c.max);
    SpriteRecord s;
    s.alphaFactor = 0.001f;
    light.motionStep = 0.1f;
    const uint32_t before = crt_rand_state();
    CrtRandSequence next(before);
    light.UpdateParticle(s);
    EXPECT_EQ(s.alphaFactor, 0.0f);
    if (c.max <= c.min) {
      EXPECT_FLOAT_EQ(s.pauseLength, float(c.min) * 0.01f);
      EXPECT_EQ(crt_rand_state(), before);
    } else {
      const uint64_t range = uint64_t{c.max} - c.min + 1;
      EXPECT_FLOAT_EQ(s.pauseLength, float(c.min + uint64_t(next.Next()) % range) * 0.01f);
    }
  }
}

// Version 1 keeps the pauses 100 and 500; every lighting description read plays on a random
// timeline; its opacity ignores the timeline's value.
TEST_F(FogLightingGrass, LightingRecordsAndOpacity) {
  DS_LightingConstructor light;
  light.pauseMin.SetValue(20);
  light.pauseMax.SetValue(90);
  light.timing.flags |= 1u;
  const std::vector<uint8_t> v1 = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_LightingConstructor", 1);
    light.DS_BaseSpriteProp::Save(archive);
  });
  for (const bool old : {true, false}) {
    ReadResult read = ReadDescription(old ? v1 : SavedBytes(light));
    ASSERT_TRUE(ReadWhole(read));
    auto& back = dynamic_cast<DS_LightingConstructor&>(*read.object);
    EXPECT_EQ(back.pauseMin.Value(), old ? 100u : 20u);
    EXPECT_EQ(back.pauseMax.Value(), old ? 500u : 90u);
    EXPECT_EQ(back.timing.Kind(), 1);
    EXPECT_NE(dynamic_cast<ZKW_RandomTimeLine*>(back.timing.Current()), nullptr);
    EXPECT_EQ(back.timing.flags & 1u, 0u);
  }
  SetTimelineValue(light, 0.5f);
  EXPECT_EQ(light.ApplyOpacity(0xFF123456u), 0xFF123456u);
}

// Grass stands on the view's bottom edge; at amplitude 0 it stands upright (a lean of about
// -4.4e-8, the tangent of a float right angle); swaying, the bottom of each blade stays on its
// foot.
TEST_F(FogLightingGrass, GrassSwaysAboutItsFoot) {
  DS_GrassConstructor grass;
  EXPECT_EQ(grass.timing.timeMode.Value(), 2);
  EXPECT_EQ(grass.tag, 6);
  grass.size.SetValue(20);
  grass.count.SetValue(10);
  grass.bottom = 0.9f;
  grass.swayAmplitude = 0.0f;
  auto upright = MakeArray(grass);
  upright->Update(0.1f);
  for (const SpriteRecord& s : upright->Sprites()) {
    EXPECT_NEAR(s.axis2.x, -4.37e-8f, 0.1e-8f);
    EXPECT_NEAR(s.centre.x, s.velocity.z, 1e-5f);
    EXPECT_EQ(s.centre.y, 90.0f - 10.0f);
    EXPECT_EQ(std::fabs(s.axis1.x), 1.0f);
  }

  grass.swayAmplitude = 20.0f;
  auto swaying = MakeArray(grass);
  float largest = 0.0f;
  for (int i = 1; i <= 20; ++i) {
    swaying->Update(0.1f * float(i));
    for (const SpriteRecord& s : swaying->Sprites()) {
      const std::array<D3DXVECTOR3, 4> c = SpriteCorners(s);
      const D3DXVECTOR3 foot = (c[0] + c[2]) * 0.5f;
      EXPECT_NEAR(foot.x, s.velocity.z, 1e-3f);
      EXPECT_NEAR(foot.y, 90.0f, 1e-4f);
      largest = std::max(largest, std::fabs(s.axis2.x));
      EXPECT_LE(std::fabs(s.axis2.x), std::tan(20.0f * 3.1415927f / 180.0f) + 1e-5f);
    }
  }
  EXPECT_GT(largest, 0.2f);
}

}  // namespace
}  // namespace sprite_test
