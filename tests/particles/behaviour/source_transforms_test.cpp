#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/archive/ds_iof_r.h"
#include "core/archive/resource_buffer.h"
#include "particles/behaviour/params/forces_prm.h"
#include "particles/behaviour/particle/colour_transforms.h"
#include "particles/behaviour/particle/force_transforms.h"
#include "particles/behaviour/particle/oscillation_transforms.h"
#include "platform/math/d3dx_math.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Bytes;

TEST(SourceTransforms, EnvelopeRisesHoldsAndFalls) {
  ModedScaledParams envelope;
  envelope.values[1].SetValue(20);  // rise ends at 0.2
  envelope.values[2].SetValue(80);  // fall starts at 0.8
  envelope.values[4].SetValue(0);   // birth level
  envelope.values[5].SetValue(0);   // death level
  const struct {
    float t, factor;
  } cases[] = {{0.0f, 0.0f}, {0.1f, 0.5f}, {0.2f, 1.0f}, {0.5f, 1.0f},
               {0.8f, 1.0f}, {0.9f, 0.5f}, {1.0f, 0.0f}};
  for (const auto& c : cases)
    EXPECT_NEAR(EnvelopeFactor(envelope, c.t), c.factor, 1e-5f) << c.t;

  // The transform scales its slot by the factor of the particle's life.
  ParticleRecord p;
  p.floats[ParticleRecord::kLife] = 0.1f;
  p.floats[ParticleRecord::kAlpha] = 0.8f;
  PtclTr_AgeTransform age(ParticleRecord::kAlpha, &envelope);
  age.Apply(0.0f, &p);
  EXPECT_NEAR(p.floats[ParticleRecord::kAlpha], 0.4f, 1e-5f);
}

TEST(SourceTransforms, GravityAndDragModes) {
  ForcesPrm forces;
  forces.gravity.SetValue(10);
  const struct {
    int gravityMode, dragMode;
    D3DXVECTOR3 acceleration;
  } cases[] = {
      {0, 0, {0, 0, 0}},
      {1, 0, {0, 50, 0}},
      {2, 0, {0, -50, 0}},
      // Linear drag: the velocity (3, 4, 0) times -0.5.
      {0, 3, {-1.5f, -2, 0}},
      // Quadratic: the direction (0.6, 0.8) x -0.5 x 0.02 x 25.
      {0, 2, {-0.15f, -0.2f, 0}},
  };
  for (const auto& c : cases) {
    forces.gravityMode.SetValue(c.gravityMode);
    forces.dragMode.SetValue(c.dragMode);
    ParticleRecord p;
    p.vectors[ParticleRecord::kVelocity] = D3DXVECTOR3(3, 4, 0);
    p.vectors[ParticleRecord::kDirection] = D3DXVECTOR3(0.6f, 0.8f, 0);
    PtclTr_StandardForces transform(&forces, nullptr);
    EXPECT_TRUE(transform.Apply(0.1f, &p));
    const D3DXVECTOR3& a = p.vectors[ParticleRecord::kAcceleration];
    EXPECT_NEAR(a.x, c.acceleration.x, 1e-5f) << c.gravityMode << " " << c.dragMode;
    EXPECT_NEAR(a.y, c.acceleration.y, 1e-5f) << c.gravityMode << " " << c.dragMode;
    EXPECT_NEAR(a.z, c.acceleration.z, 1e-5f);
  }
}

TEST(SourceTransforms, ForcesRecordOfVersionOneDragsLinearly) {
  ForcesPrm written;
  written.gravityMode.SetValue(2);
  written.gravity.SetValue(7);
  written.drag.SetValue(30);
  const std::vector<uint8_t> v2 = Bytes([&](DS_IOF_Archive& a) { WriteForcesPrm(a, written); });
  // Version 1: no drag mode.
  const std::vector<uint8_t> v1 = Bytes([&](DS_IOF_Archive& a) {
    a.io().WriteInt32(1);
    a.io().WriteInt32(2);
    a.io().WriteUInt32(7);
    a.io().WriteUInt32(30);
  });
  for (const auto* bytes : {&v2, &v1}) {
    ResourceBuffer buffer;
    buffer.SetMemory(bytes->data(), bytes->size());
    DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
    ForcesPrm read;
    read.dragMode.SetValue(1);
    ReadForcesPrm(archive, read);
    EXPECT_FALSE(archive.Failed());
    EXPECT_EQ(buffer.Remaining(), 0u);
    EXPECT_EQ(read.dragMode.Value(), bytes == &v1 ? 3 : 0);
    EXPECT_EQ(read.gravityMode.Value(), 2);
    EXPECT_FLOAT_EQ(read.gravity.Scaled(), 35.0f);
    EXPECT_FLOAT_EQ(read.drag.Scaled(), -0.3f);
  }
}

TEST(SourceTransforms, OscillatorFollowsTheModeOfItsBlock) {
  OscillationParams params;  // frequency 5, amplitude 0.5
  ParticleRecord p;
  PtclTr_Oscilator oscillator(ParticleRecord::kScale, &params, 1.0f, 0.0f);
  p.floats[ParticleRecord::kScale] = 2.0f;
  oscillator.Apply(0.1f, &p);
  EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kScale], 2.0f) << "mode 0 leaves the particle";

  // Switched on while the particle lives, it runs from its stored phase.
  params.mode.SetValue(OscillationParams::kHarmonic);
  oscillator.Apply(0.1f, &p);
  const float c = std::cos(0.5f);
  EXPECT_NEAR(p.floats[ParticleRecord::kScale], ((c - 1.0f) * 0.5f + 1.0f) * 2.0f, 1e-5f);

  // Base 0 adds around the value.
  PtclTr_Harmonic adding(ParticleRecord::kAlong, &params, 0.0f, 0.0f);
  p.floats[ParticleRecord::kAlong] = 3.0f;
  adding.Apply(0.0f, &p);
  EXPECT_NEAR(p.floats[ParticleRecord::kAlong], 3.5f, 1e-5f);

  params.mode.SetValue(OscillationParams::kPerlin);
  p.floats[ParticleRecord::kScale] = 1.0f;
  oscillator.Apply(0.1f, &p);
  EXPECT_TRUE(std::isfinite(p.floats[ParticleRecord::kScale]));
  EXPECT_FLOAT_EQ(oscillator.harmonic.phase, 0.5f) << "only the chosen part advances";
}

TEST(SourceTransforms, SpreadsScaleBySlotRandomNumbers) {
  ValueSpreadPrm size{0, 0.01f};
  size.value.SetValue(150);
  ParticleRecord p;
  p.floats[ParticleRecord::kRandom7] = 0.25f;
  PtclTr_JitterCtrl jitter(ParticleRecord::kScale, &size);
  jitter.Apply(0.0f, &p);
  EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kScale], 1.5f) << "spread 0 % ignores the number";
  size.spread.SetValue(40);  // s = 0.6
  p.floats[ParticleRecord::kScale] = 1.0f;
  jitter.Apply(0.0f, &p);
  EXPECT_NEAR(p.floats[ParticleRecord::kScale], 1.5f * (0.6f + 0.25f * 0.4f), 1e-5f);

  ZKW_JitterParam translucency;
  translucency.value.SetScale(-0.01f, 1.0f);
  translucency.value.SetValue(20);   // 0.8
  translucency.jitter.SetValue(50);  // 0.5
  p.floats[ParticleRecord::kRandom8] = 0.5f;
  p.floats[ParticleRecord::kAlpha] = 1.0f;
  PtclTr_JitterUpdater updater(ParticleRecord::kAlpha, &translucency);
  updater.Apply(0.0f, &p);
  EXPECT_NEAR(p.floats[ParticleRecord::kAlpha], 0.8f * 0.75f, 1e-5f);
}

TEST(SourceTransforms, SpinKeepsTurnsOrAligns) {
  SpinPrm spin;
  spin.angle.value.SetValue(90);
  ParticleRecord p;
  PtclTr_StandardSpin fixed(&spin, 0.0f, 1.0f, -1);
  fixed.Apply(1.0f, &p);
  D3DXMATRIX expected;
  D3DXMatrixRotationZ(&expected, -1.5707963f);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      EXPECT_NEAR(p.rotationA(i, j), expected(i, j), 1e-5f);

  // Spinning with direction 2 takes the drawn sign: -1 x 1 s x 2.5 rad/s.
  spin.mode.SetValue(2);
  spin.direction.SetValue(2);
  PtclTr_StandardSpin spinning(&spin, 0.0f, 1.0f, -1);
  spinning.Apply(1.0f, &p);
  EXPECT_NEAR(spinning.spinAngle, -2.5f, 1e-5f);
  spin.direction.SetValue(0);
  spinning.Apply(1.0f, &p);
  EXPECT_NEAR(spinning.spinAngle, 0.0f, 1e-5f);
}

TEST(SourceTransforms, ColourFromTheSetByModeAndTime) {
  ColorSetParams colours;
  colours.colors.SetValue({0x0000FF, 0x00FF00, 0xFF0000});
  const struct {
    int mode;
    float life;
    D3DXVECTOR3 colour;
  } cases[] = {
      {0, 0.7f, {255, 0, 0}},          // the first colour
      {1, 0.5f, {127.5f, 127.5f, 0}},  // halfway from the first to the second
      {2, 0.5f, {0, 255, 0}},          // the middle entry of three
      {2, 1.0f, {0, 0, 255}},          // t = 1 takes the last
  };
  for (const auto& c : cases) {
    colours.mode1.SetValue(c.mode);
    ParticleRecord p;
    p.floats[ParticleRecord::kLife] = c.life;
    PtclTr_Color colour(&colours, 0.0f);
    colour.Apply(0.0f, &p);
    const D3DXVECTOR3& got = p.vectors[ParticleRecord::kColour];
    EXPECT_NEAR(got.x, c.colour.x, 1e-3f) << c.mode << " " << c.life;
    EXPECT_NEAR(got.y, c.colour.y, 1e-3f) << c.mode << " " << c.life;
    EXPECT_NEAR(got.z, c.colour.z, 1e-3f) << c.mode << " " << c.life;
  }
  // The second mode value picks the particle's own number instead of its life.
  colours.mode1.SetValue(2);
  colours.mode2.SetValue(1);
  ParticleRecord q;
  PtclTr_Color own(&colours, 0.0f);
  own.Apply(0.0f, &q);
  EXPECT_FLOAT_EQ(q.vectors[ParticleRecord::kColour].x, 255.0f);

  // Too few colours for the blend: the colour stays.
  colours.mode1.SetValue(1);
  colours.colors.SetValue({0x123456});
  q.vectors[ParticleRecord::kColour] = D3DXVECTOR3(1, 2, 3);
  own.Apply(0.0f, &q);
  EXPECT_FLOAT_EQ(q.vectors[ParticleRecord::kColour].y, 2.0f);
  colours.colors.SetValue({});
  colours.mode1.SetValue(2);
  own.Apply(0.0f, &q);
  EXPECT_FLOAT_EQ(q.vectors[ParticleRecord::kColour].z, 3.0f);
}

TEST(SourceTransforms, TimeParameterFollowsSpreadAndEnvelope) {
  GraphSpreadPrm param;
  param.value.SetValue(2);
  param.spread.SetValue(50);
  ParticleRecord p;
  p.floats[ParticleRecord::kRandom7] = 0.5f;
  p.floats[ParticleRecord::kScale] = 1.0f;
  PtclTr_TimePrm time(ParticleRecord::kScale, &param);
  time.Apply(0.0f, &p);
  // No graph: the envelope is 1.
  EXPECT_NEAR(p.floats[ParticleRecord::kScale], 2.0f * 0.75f, 1e-5f);
}

}  // namespace
