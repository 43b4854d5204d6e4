// Sparkles and god rays: their draws from the shared sequence, their motion and pulse, their
// records.
#include "objects/sprites/ds_god_ray_constructor.h"
#include "objects/sprites/ds_sparkle_constructor.h"

#include <cmath>

#include "core/crt_rand.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class SparkleGodRay : public SpriteTest {
 protected:
  SparkleGodRay() : SpriteTest(200, 100) {}
};

// With seed 1 the first sparkle takes 41 (size factor), 18467 (odd: the rate turns negative),
// 6334 and 26500 (velocity), 19169 and 15724 (its point) and 11478 (alpha).
TEST_F(SparkleGodRay, FirstSparkleTakesTheDrawsInOrder) {
  DS_SparkleConstructor preset;
  preset.sizeFactorMin = 0.0f;
  preset.sizeFactorMax = 1.0f;
  preset.pulseRate = 0.5f;
  crt_srand(1);
  auto obj = MakeArray(preset);
  ASSERT_EQ(obj->Sprites().size(), 1u);
  const SpriteRecord& s = obj->Sprites()[0];
  EXPECT_FLOAT_EQ(s.sizeFactor, 41.0f / 32767.0f);
  EXPECT_EQ(s.alphaRate, -0.5f);
  EXPECT_NEAR(s.velocity.x, -15.33f, 0.005f);
  EXPECT_NEAR(s.velocity.y, 15.44f, 0.005f);
  EXPECT_EQ(s.velocity.z, 0.0f);
  EXPECT_FLOAT_EQ(s.centre.x, 19169.0f / 32767.0f * 200.0f);
  EXPECT_FLOAT_EQ(s.centre.y, 15724.0f / 32767.0f * 100.0f);
  EXPECT_NEAR(s.alphaFactor, 0.350f, 0.0005f);
}

TEST_F(SparkleGodRay, SparkleDriftsGrowsWithAlphaAndReappearsBelowTheMinimum) {
  DS_SparkleConstructor preset;
  preset.size.SetValue(40);
  preset.pulseRate = 1.0f;
  preset.pulseMin = 0.2f;
  auto obj = MakeArray(preset);
  auto& clone = PresetOf<DS_SparkleConstructor>(*obj);
  SpriteRecord& s = obj->Sprites()[0];
  s.centre = D3DXVECTOR3(50, 50, 0);
  s.velocity = D3DXVECTOR3(10, -20, 0);
  s.alphaFactor = 0.4f;
  s.alphaRate = 1.0f;
  obj->Update(0.1f);  // motion step 0.1
  EXPECT_FLOAT_EQ(s.centre.x, 51.0f);
  EXPECT_FLOAT_EQ(s.centre.y, 48.0f);
  EXPECT_FLOAT_EQ(s.alphaFactor, 0.5f);
  const float e = 40.0f * 0.25f;
  EXPECT_FLOAT_EQ(s.halfWidth, 1.5f * e);
  EXPECT_FLOAT_EQ(s.halfHeight, 1.375f * e);

  // Falling below the minimum: a new place and velocity in the same frame, alpha exactly the
  // minimum, the rate reversed.
  s.alphaFactor = 0.25f;
  s.alphaRate = -1.0f;
  const uint32_t before = crt_rand_state();
  obj->Update(0.2f);
  EXPECT_NE(crt_rand_state(), before) << "re-spawned";
  EXPECT_EQ(s.alphaFactor, 0.2f);
  EXPECT_EQ(s.alphaRate, 1.0f);
  EXPECT_NE(s.velocity.x, 10.0f);
  EXPECT_EQ(s.colour >> 24, uint32_t(255 * 0.2f));
  EXPECT_GT(clone.motionElapsed, 0.0f);
}

// With the pulse minimum equal to the maximum the rate turns every frame, and a sparkle
// re-spawns every second frame.
TEST_F(SparkleGodRay, EqualPulseBoundsRespawnEverySecondFrame) {
  DS_SparkleConstructor preset;
  preset.pulseRate = 0.5f;
  preset.pulseMin = preset.pulseMax = 0.6f;
  auto obj = MakeArray(preset);
  SpriteRecord& s = obj->Sprites()[0];
  s.alphaFactor = 0.6f;
  s.alphaRate = 0.5f;
  int respawns = 0;
  for (int frame = 1; frame <= 6; ++frame) {
    const uint32_t before = crt_rand_state();
    obj->Update(0.05f * float(frame));
    if (crt_rand_state() != before) ++respawns;
    EXPECT_EQ(s.alphaFactor, 0.6f);
  }
  EXPECT_EQ(respawns, 3);
}

TEST_F(SparkleGodRay, GodRayStandsInTheViewAndLeans) {
  DS_GodRayConstructor preset;
  preset.size.SetValue(30);
  preset.top = 0.2f;
  preset.bottom = 1.0f;
  auto obj = MakeArray(preset);
  const SpriteRecord& s = obj->Sprites()[0];
  EXPECT_FLOAT_EQ(s.centre.y, 0.4f * 100.0f);
  EXPECT_EQ(s.halfHeight, 50.0f) << "the scene's whole height";
  EXPECT_EQ(s.halfWidth, 15.0f);
  EXPECT_GE(s.centre.x, 0.0f);
  EXPECT_LE(s.centre.x, 200.0f);
  EXPECT_NEAR(s.axis2.x, -0.176f, 0.001f) << "the default 80 degrees";
  EXPECT_EQ(s.axis1, D3DXVECTOR3(1, 0, 0));
  EXPECT_LE(std::fabs(s.velocity.x), 10.0f);

  for (const auto& [angle, lean] : {std::pair{90u, 0.0f}, std::pair{270u, 0.0f},
                                    std::pair{100u, 0.176f}, std::pair{280u, 0.176f}}) {
    preset.rayAngle.SetValue(angle);
    auto ray = MakeArray(preset);
    EXPECT_NEAR(ray->Sprites()[0].axis2.x, lean, 0.001f) << angle;
  }
}

// Every 0.25 s of motion time one draw: an odd one gives a new velocity, an even one keeps it.
// Rays never move vertically.
TEST_F(SparkleGodRay, GodRayChangesVelocityOnlyOnOddDraws) {
  DS_GodRayConstructor preset;
  auto obj = MakeArray(preset);
  SpriteRecord& s = obj->Sprites()[0];
  const float y = s.centre.y;
  int odd = 0, even = 0;
  for (int i = 1; i <= 40; ++i) {
    const float velocity = s.velocity.x;
    CrtRandSequence next(crt_rand_state());
    const bool fires =
        PresetOf<DS_GodRayConstructor>(*obj).motionElapsed + 0.1f - s.eventTime > 0.25f;
    const int draw = next.Next();
    obj->Update(0.1f * float(i));
    if (!fires) {
      EXPECT_EQ(s.velocity.x, velocity);
    } else if (draw % 2 == 1) {
      ++odd;
      EXPECT_FLOAT_EQ(s.velocity.x, next.NextUnit() * 20.0f - 10.0f);
    } else {
      ++even;
      EXPECT_EQ(s.velocity.x, velocity);
    }
    EXPECT_EQ(s.centre.y, y);
  }
  EXPECT_GT(odd, 0);
  EXPECT_GT(even, 0);
}

// A motion rate of 0 freezes both kinds: no movement, no pulse, no timer, no draw.
TEST_F(SparkleGodRay, MotionRateZeroFreezes) {
  DS_SparkleConstructor sparkle;
  sparkle.pulseRate = 1.0f;
  DS_GodRayConstructor ray;
  ray.pulseRate = 1.0f;
  for (DS_ParticleSystemCtrl* preset :
       std::initializer_list<DS_ParticleSystemCtrl*>{&sparkle, &ray}) {
    preset->motionRate.SetValue(0);
    auto obj = MakeArray(*preset);
    const SpriteRecord start = obj->Sprites()[0];
    const uint32_t state = crt_rand_state();
    for (int i = 1; i <= 10; ++i)
      obj->Update(0.1f * float(i));
    const SpriteRecord& s = obj->Sprites()[0];
    EXPECT_EQ(s.centre, start.centre);
    EXPECT_EQ(s.alphaFactor, start.alphaFactor);
    EXPECT_EQ(s.eventTime, 0.0f);
    EXPECT_EQ(crt_rand_state(), state);
  }
}

TEST_F(SparkleGodRay, RecordsRoundTrip) {
  DS_SparkleConstructor sparkle;
  EXPECT_TRUE(sparkle.viewFlag);
  EXPECT_EQ(sparkle.timing.flags & 1u, 1u);
  EXPECT_EQ(sparkle.tag, 1);
  DS_GodRayConstructor ray;
  EXPECT_EQ(ray.rayAngle.Value(), 80u);
  ray.rayAngle.SetValue(123);
  ray.count.SetValue(4);
  for (const DS_BaseSpriteProp* preset :
       std::initializer_list<const DS_BaseSpriteProp*>{&sparkle, &ray}) {
    const std::vector<uint8_t> bytes = SavedBytes(*preset);
    ReadResult read = ReadDescription(bytes);
    ASSERT_TRUE(ReadWhole(read));
    EXPECT_EQ(SavedBytes(*read.object), bytes);
  }
  ReadResult read = ReadDescription(SavedBytes(ray));
  EXPECT_EQ(dynamic_cast<DS_GodRayConstructor&>(*read.object).rayAngle.Value(), 123u);
}

}  // namespace
}  // namespace sprite_test
