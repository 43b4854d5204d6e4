// Flowing sprites and rain: direction, speed and wobble, orientation, records of every version,
// and drops that pulse, start again and wrap at the edges.
#include <cmath>

#include "core/crt_rand.h"
#include "objects/sprites/ds_flow_constructor.h"
#include "objects/sprites/ds_rain_constructor.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class FlowRain : public SpriteTest {
 protected:
  FlowRain() : SpriteTest(200, 100) {}

  // Places the array's sprites at the scene's middle without wobble, with the size factors.
  static void Centre(DS_SpriteArrayObj& obj, std::initializer_list<float> sizeFactors) {
    size_t i = 0;
    for (float factor : sizeFactors) {
      SpriteRecord& s = obj.Sprites()[i++];
      s.centre = D3DXVECTOR3(100, 50, 0);
      s.velocity.z = 0.0f;
      s.sizeFactor = factor;
    }
  }

  // A flow record of `version` written field by field, on the base record of `flow`; `mode`
  // goes where versions 2 and 3 keep the orientation.
  static std::vector<uint8_t> FlowRecord(uint32_t version, const DS_FlowConstructor& flow,
                                         int32_t mode) {
    return Written([&](DS_IOF_Archive& archive) {
      DS_IOF_Virtual& io = archive.io();
      WriteRecordHeader(archive, u"DS_FlowConstructor", version);
      io.WriteUInt32(45);
      io.WriteUInt32(2);
      io.WriteUInt32(8);
      io.WriteFloat(120.0f);
      if (version >= 2) io.WriteInt32(mode);
      flow.DS_BaseSpriteProp::Save(archive);
    });
  }
};

// Angle 90 at speed 100 moves a sprite of size factor 1 by (0, -100) per motion second, one of
// size factor 0.5 half as fast; the other angles stream right, left and down.
TEST_F(FlowRain, DirectionAndSpeedScaledBySize) {
  DS_FlowConstructor flow;
  flow.count.SetValue(2);
  flow.speed = 100.0f;
  flow.directionAngle.SetValue(90);
  auto obj = MakeArray(flow);
  Centre(*obj, {1.0f, 0.5f});
  obj->Update(0.1f);
  EXPECT_NEAR(obj->Sprites()[0].centre.x, 100.0f, 1e-4f);
  EXPECT_NEAR(obj->Sprites()[0].centre.y, 40.0f, 1e-4f);
  EXPECT_NEAR(obj->Sprites()[1].centre.y, 45.0f, 1e-4f);

  for (const auto& [angle, x, y] : {std::tuple{0u, 1.0f, 0.0f}, std::tuple{180u, -1.0f, 0.0f},
                                    std::tuple{270u, 0.0f, 1.0f}, std::tuple{450u, 0.0f, -1.0f}}) {
    flow.directionAngle.SetValue(angle);
    EXPECT_NEAR(flow.flowVector.x, 100.0f * x, 1e-4f) << angle;
    EXPECT_NEAR(flow.flowVector.y, 100.0f * y, 1e-4f) << angle;
    EXPECT_NEAR(flow.crossVector.x, -y, 1e-6f) << angle;
    EXPECT_NEAR(flow.crossVector.y, x, 1e-6f) << angle;
  }
}

// A stored amplitude of 10 is 30 pixels per second across the flow at wobble value 1, times the
// size factor.
TEST_F(FlowRain, WobbleMovesAcrossTheFlow) {
  DS_FlowConstructor flow;
  flow.count.SetValue(2);
  flow.wobbleAmplitude.SetValue(10);
  EXPECT_EQ(flow.wobbleAmplitude.FloatValue(), 30.0f);
  auto obj = MakeArray(flow);
  Centre(*obj, {1.0f, 0.5f});
  for (SpriteRecord& s : obj->Sprites())
    s.velocity.z = 1.0f;
  obj->Update(0.1f);
  EXPECT_NEAR(obj->Sprites()[0].centre.y, 53.0f, 1e-4f);
  EXPECT_NEAR(obj->Sprites()[1].centre.y, 51.5f, 1e-4f);
  EXPECT_NEAR(obj->Sprites()[0].centre.x, 100.0f, 1e-4f);
}

// A wobble frequency of 0 never draws a new wobble: the one of the spawn stays, and nothing is
// drawn from the shared sequence.
TEST_F(FlowRain, WobbleFrequencyZeroKeepsTheSpawnWobble) {
  DS_FlowConstructor flow;
  auto obj = MakeArray(flow);
  Centre(*obj, {1.0f});
  obj->Sprites()[0].velocity.z = 0.75f;
  const uint32_t state = crt_rand_state();
  for (int i = 1; i <= 50; ++i)
    obj->Update(0.2f * float(i));
  EXPECT_EQ(obj->Sprites()[0].velocity.z, 0.75f);
  EXPECT_EQ(crt_rand_state(), state);

  // Frequency 1 per second (stored 4): about every second an odd draw re-aims the wobble.
  flow.wobbleFrequency.SetValue(4);
  auto again = MakeArray(flow);
  Centre(*again, {1.0f});
  again->Sprites()[0].velocity.z = 0.75f;
  for (int i = 1; i <= 50; ++i)
    again->Update(0.2f * float(i));
  EXPECT_NE(again->Sprites()[0].velocity.z, 0.75f);
}

// Orientation mode 1 turns the axes with the flow; mode 2 mirrors a sprite the frame after a
// bounce turned it, once its velocity is negative.
TEST_F(FlowRain, OrientationTurnsAndMirrors) {
  DS_FlowConstructor turned;
  turned.orientationMode.SetValue(1);
  turned.directionAngle.SetValue(90);
  auto up = MakeArray(turned);
  EXPECT_NEAR(up->Sprites()[0].axis1.y, -1.0f, 1e-6f);
  EXPECT_NEAR(up->Sprites()[0].axis2.x, 1.0f, 1e-6f);

  DS_FlowConstructor flow;
  flow.size.SetValue(10);
  flow.speed = 100.0f;
  flow.orientationMode.SetValue(2);
  flow.controls[DS_BoundControl::kRight].mode.SetValue(1);
  auto obj = MakeArray(flow);
  SpriteRecord& s = obj->Sprites()[0];
  s.centre = D3DXVECTOR3(193, 50, 0);
  s.velocity.z = 0.0f;
  obj->Update(0.1f);
  EXPECT_EQ(s.directionSigns.x, -1.0f) << "bounced";
  EXPECT_EQ(s.axis1, D3DXVECTOR3(1, 0, 0)) << "this frame's velocity was still positive";
  obj->Update(0.2f);
  EXPECT_EQ(s.axis1, D3DXVECTOR3(-1, 0, 0));
  EXPECT_EQ(s.centre.x, 193.0f) << "back by one step, inside again";
  obj->Update(0.3f);
  EXPECT_EQ(s.centre.x, 183.0f);
}

// A sprite waiting at an edge marks the frame, so that the export starts a new block after it.
TEST_F(FlowRain, WaitingMarksTheFrame) {
  DS_FlowConstructor flow;
  flow.size.SetValue(10);
  flow.speed = 100.0f;
  flow.controls[DS_BoundControl::kRight].mode.SetValue(2);
  flow.controls[DS_BoundControl::kRight].shortestWait.SetValue(500);
  flow.controls[DS_BoundControl::kRight].longestWait.SetValue(500);
  auto obj = MakeArray(flow);
  auto& clone = PresetOf<DS_FlowConstructor>(*obj);
  SpriteRecord& s = obj->Sprites()[0];
  s.centre = D3DXVECTOR3(150, 50, 0);
  s.velocity.z = 0.0f;
  int frames = 0;
  obj->Update(0.0f);
  for (int i = 1; i <= 20 && !clone.frameEvent; ++i, ++frames)
    obj->Update(0.1f * float(i));
  EXPECT_TRUE(clone.frameEvent);
  EXPECT_EQ(s.waiting, 1);
  int split = 0;
  EXPECT_TRUE(clone.SplitExportBlock(split));
  // Held just beyond the edge, and not moving while it waits.
  obj->Update(0.1f * float(frames) + 0.1f);
  EXPECT_EQ(s.centre.x, 204.0f);
  obj->Update(0.1f * float(frames) + 0.2f);
  EXPECT_EQ(s.centre.x, 204.0f);
  EXPECT_TRUE(clone.frameEvent);
}

// The orientation mode by version: none in version 1, a flag in version 2, the mode from 3; the
// controls from version 4, written back unchanged.
TEST_F(FlowRain, RecordsOfEveryVersion) {
  DS_FlowConstructor base;
  struct Case {
    uint32_t version;
    int32_t stored;
    int expected;
  };
  for (const Case& c : {Case{1, 0, 0}, Case{2, 5, 1}, Case{2, 0, 0}, Case{3, 2, 2}}) {
    SCOPED_TRACE(c.version);
    ReadResult read = ReadDescription(FlowRecord(c.version, base, c.stored));
    ASSERT_TRUE(ReadWhole(read));
    auto& flow = dynamic_cast<DS_FlowConstructor&>(*read.object);
    EXPECT_EQ(flow.orientationMode.Value(), c.expected);
    EXPECT_EQ(flow.directionAngle.Value(), 45u);
    EXPECT_EQ(flow.wobbleFrequency.Value(), 8u);
    EXPECT_EQ(flow.speed, 120.0f);
    EXPECT_EQ(flow.controls[0].mode.Value(), 0) << "the defaults";
    // The copy computes what the read left as it was.
    auto copy = flow.Clone();
    auto& played = dynamic_cast<DS_FlowConstructor&>(*copy);
    EXPECT_EQ(played.wobbleFrequency.FloatValue(), 2.0f);
    EXPECT_NEAR(played.flowVector.y, -120.0f * std::sin(3.1415927f / 4.0f), 1e-3f);
  }

  DS_RainConstructor rain;
  rain.controls[1].mode.SetValue(2);
  rain.controls[1].fadeOut.SetValue(300);
  rain.controls[2].longestWait.SetValue(900);
  rain.controls[3].fadeIn.SetValue(40);
  const std::vector<uint8_t> bytes = SavedBytes(rain);
  ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  auto& back = dynamic_cast<DS_RainConstructor&>(*read.object);
  EXPECT_EQ(back.controls[1].mode.Value(), 2);
  EXPECT_EQ(back.controls[1].fadeOut.Value(), 300u);
  EXPECT_EQ(back.controls[2].longestWait.Value(), 900u);
  EXPECT_EQ(SavedBytes(back), bytes);
  // Every copy tests its sides against itself.
  auto copy = back.Clone();
  auto& played = dynamic_cast<DS_RainConstructor&>(*copy);
  for (const DS_BoundControl& control : played.controls)
    EXPECT_EQ(control.outside->owner, &played);
}

TEST_F(FlowRain, RainDefaultsAndExportBlocks) {
  DS_RainConstructor rain;
  EXPECT_EQ(rain.directionAngle.Value(), 270u);
  EXPECT_EQ(rain.speed, 2000.0f);
  EXPECT_EQ(rain.orientationMode.Value(), 1);
  EXPECT_EQ(rain.sizeFactorMin, 0.5f);
  auto copy = rain.Clone();
  EXPECT_NEAR(dynamic_cast<DS_RainConstructor&>(*copy).flowVector.y, 2000.0f, 0.01f);
  // A new block as soon as the current one holds more than one frame, whatever the flag.
  for (bool event : {false, true}) {
    rain.frameEvent = event;
    int one = 1, two = 2;
    EXPECT_FALSE(rain.SplitExportBlock(one));
    EXPECT_TRUE(rain.SplitExportBlock(two));
  }
}

// A drop whose pulse takes it below the minimum starts again inside the view, with alpha
// exactly the minimum, its rate reversed and free of the control that held it.
TEST_F(FlowRain, ADropBelowThePulseMinimumStartsAgain) {
  DS_RainConstructor rain;
  rain.pulseRate = 1.0f;
  rain.pulseMin = 0.2f;
  auto obj = MakeArray(rain);
  SpriteRecord& s = obj->Sprites()[0];
  s.centre = D3DXVECTOR3(100, 150, 0);
  s.alphaFactor = 0.25f;
  s.alphaRate = -1.0f;
  s.boundSide = DS_BoundControl::kBottom;
  s.reentered = 1;
  s.waiting = 1;
  s.waitUntil = 100.0f;
  obj->Update(0.1f);
  EXPECT_EQ(s.alphaFactor, 0.2f);
  EXPECT_EQ(s.alphaRate, 1.0f);
  EXPECT_GE(s.centre.y, 0.0f);
  EXPECT_LE(s.centre.y, 100.0f);
  EXPECT_EQ(s.boundSide, -1);
  EXPECT_EQ(s.reentered, 0);
  EXPECT_EQ(s.waiting, 0);
  // The drop stands along the fall: turned with the flow, then a further three quarters.
  EXPECT_NEAR(s.axis1.x, 1.0f, 1e-5f);
  EXPECT_NEAR(s.axis2.y, 1.0f, 1e-5f);
}

// Drops that leave the view come back at the top and keep falling, as flow sprites do, with
// their pulse as it was (a pulse rate of 0 keeps every drop's alpha). A drop that has just left
// goes on for the three frames the control takes to see it gone (20 pixels each here).
TEST_F(FlowRain, LeavingDropsReturn) {
  DS_RainConstructor rain;
  rain.count.SetValue(20);
  rain.size.SetValue(6);
  rain.speed = 400.0f;
  auto obj = MakeArray(rain);
  std::vector<float> alphas;
  for (const SpriteRecord& s : obj->Sprites())
    alphas.push_back(s.alphaFactor);
  int returns = 0;
  for (int i = 1; i <= 100; ++i) {
    std::vector<float> before;
    for (const SpriteRecord& s : obj->Sprites())
      before.push_back(s.centre.y);
    obj->Update(0.05f * float(i));
    for (size_t k = 0; k < before.size(); ++k)
      if (obj->Sprites()[k].centre.y < before[k] - 50.0f) ++returns;
  }
  EXPECT_GT(returns, 20) << "each drop falls through the view more than once";
  for (size_t k = 0; k < alphas.size(); ++k) {
    const SpriteRecord& s = obj->Sprites()[k];
    EXPECT_GT(s.centre.y, -10.0f) << k;
    EXPECT_LT(s.centre.y, 100.0f + 3.0f * 20.0f + 3.0f) << k;
    EXPECT_EQ(s.alphaFactor, alphas[k]) << k;
  }
}

}  // namespace
}  // namespace sprite_test
