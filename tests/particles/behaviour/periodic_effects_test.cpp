#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "core/noise/value_noise.h"
#include "effect_records.h"
#include "particles/behaviour/effects/periodic_effects.h"

namespace {

class PeriodicEffects : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

EffectContext At(float localTime) {
  EffectContext context;
  context.clock.localTime = localTime;
  return context;
}

TEST_F(PeriodicEffects, TheWaveIsACosineOrNoiseOfTheClock) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Swinging> effect;  // speed 2.5 a second, phase 0
  struct Case {
    int mode;
    float time;
    unsigned phase;  // hundredths of a turn
    double want;
  };
  const Case cases[] = {
      {0, 0.0f, 0, 1.0},
      {0, 0.4f, 0, std::cos(1.0)},
      {0, 0.0f, 25, std::cos(1.5707963)},
      {0, 0.4f, 50, std::cos(1.0 + 3.1415926)},
      {2, 0.4f, 0, std::cos(1.0)},  // any other mode is the cosine
      {1, 0.4f, 0, OctaveValueNoise1D(2, 1.0, 2.0, 0.5)},
      {1, 3.0f, 0, OctaveValueNoise1D(2, 7.5, 2.0, 0.5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    effect.wave->mode.RawValue() = c.mode;
    effect.phase->SetValue(c.phase);
    const EffectContext context = At(c.time);
    EXPECT_NEAR(effect.Wave(&context), c.want, 1e-5);
  }
  EXPECT_NE(OctaveValueNoise1D(2, 1.0, 2.0, 0.5), OctaveValueNoise1D(2, 7.5, 2.0, 0.5));
}

TEST_F(PeriodicEffects, TheRandomPhaseSwitchGivesEachCloneItsOwnPhase) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Swinging> effect;
  const EffectContext context = At(0.0f);
  const auto a = effect.Clone();
  const auto b = effect.Clone();
  const auto& wa = dynamic_cast<ZKW_PtclSysEffect_TimeFunc&>(*a);
  const auto& wb = dynamic_cast<ZKW_PtclSysEffect_TimeFunc&>(*b);
  EXPECT_FLOAT_EQ(wa.Wave(&context), wb.Wave(&context)) << "switch off: one shared phase";
  effect.randomPhaseOn->SetValue(1);  // the clones share the switch
  EXPECT_NE(wa.randomPhase, wb.randomPhase);
  EXPECT_NEAR(wa.Wave(&context), std::cos(wa.randomPhase), 1e-6);
  EXPECT_NEAR(wb.Wave(&context), std::cos(wb.randomPhase), 1e-6);
}

TEST_F(PeriodicEffects, PulsationScalesBetweenOneMinusTheAmplitudeAndOne) {
  struct Case {
    unsigned amplitude;  // percent
    unsigned phase;      // hundredths of a turn
    float want;
  };
  const Case cases[] = {
      {50, 0, 0.5f},                    // wave 1: 1 - a
      {50, 50, 1.0f},                   // wave -1: 1
      {100, 0, 0.0f},                   // a = 1 reaches 0
      {0, 0, 1.0f},   {100, 25, 0.5f},  // wave 0
  };
  for (const Case& c : cases) {
    ZKW_PtclSysEffect<ZKW_PtclSysEffect_Pulsation> pulse;
    pulse.wave->amplitude.SetValue(c.amplitude);
    pulse.phase->SetValue(c.phase);
    ParticleRecord p;
    p.floats[ParticleRecord::kScale] = 2.0f;
    EffectContext context = At(0.0f);
    pulse.ApplyToParticle(&context, &p);
    EXPECT_NEAR(p.floats[ParticleRecord::kScale], 2.0f * c.want, 1e-5f)
        << c.amplitude << " " << c.phase;
  }
}

TEST_F(PeriodicEffects, APulsationIndexOutsideTheFloatsChangesNothing) {
  for (const int index : {-1, ParticleRecord::kFloatCount, 1000000}) {
    ZKW_PtclSysEffect<ZKW_PtclSysEffect_Pulsation> pulse;
    pulse.parameterIndex = index;
    ParticleRecord p;
    std::vector<float> before(std::begin(p.floats), std::end(p.floats));
    pulse.Apply(0.0f, &p);
    for (int i = 0; i < ParticleRecord::kFloatCount; ++i)
      EXPECT_EQ(p.floats[i], before[i]) << index;
  }
}

TEST_F(PeriodicEffects, VibrationShakesAlongItsDirectionAndTurnsWithTheParticle) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Vibration> shake;  // 90 degrees, amplitude 50
  ParticleRecord p;
  D3DXMatrixIdentity(&p.previousWorld);
  shake.Apply(0.0f, &p);  // wave 1 at time 0
  const D3DXVECTOR3& offset = p.vectors[ParticleRecord::kPositionOffset];
  EXPECT_NEAR(offset.x, 0.0f, 1e-4f);
  EXPECT_NEAR(offset.y, -50.0f, 1e-4f);

  // Turned by the particle's previous world rotation (90 degrees): (0, -1) becomes (1, 0).
  ParticleRecord turned;
  D3DXMATRIX scale;
  D3DXMatrixScaling(&scale, 3.0f, 3.0f, 1.0f);
  turned.previousWorld = scale * RotationZ(1.5707963f);
  turned.previousWorld._41 = 20.0f;
  shake.rotateWithParticle.SetValue(1);
  shake.Apply(0.0f, &turned);
  const D3DXVECTOR3& moved = turned.vectors[ParticleRecord::kPositionOffset];
  EXPECT_NEAR(moved.x, 50.0f, 1e-3f);
  EXPECT_NEAR(moved.y, 0.0f, 1e-3f);
}

TEST_F(PeriodicEffects, DeformationStretchesAlongItsDirection) {
  struct Case {
    unsigned degrees;
    float sx, sy;
  };
  for (const Case& c : {Case{0, 1.5f, 1.0f}, Case{90, 1.0f, 1.5f}}) {
    ZKW_PtclSysEffect<ZKW_PtclSysEffect_Deformation> stretch;  // amplitude 0.5
    stretch.direction->SetValue(c.degrees);
    ParticleRecord p;
    D3DXMatrixIdentity(&p.rotationB);
    stretch.Apply(0.0f, &p);
    D3DXMATRIX want;
    D3DXMatrixScaling(&want, c.sx, c.sy, 1.0f);
    SCOPED_TRACE(c.degrees);
    ExpectMatrixNear(p.rotationB, want);
  }
}

TEST_F(PeriodicEffects, SwingingTurnsByTheAmplitudeInDegrees) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Swinging> swing;  // 90 degrees
  ParticleRecord p;
  D3DXMatrixIdentity(&p.rotationA);
  swing.Apply(0.0f, &p);
  ExpectMatrixNear(p.rotationA, RotationZ(1.5707963f));
  swing.phase->SetValue(50);  // wave -1
  D3DXMatrixIdentity(&p.rotationA);
  swing.Apply(0.0f, &p);
  ExpectMatrixNear(p.rotationA, RotationZ(-1.5707963f));
}

TEST_F(PeriodicEffects, EveryKindReadsBack) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Pulsation> pulse;
  pulse.parameterIndex = 2;
  pulse.wave->mode.RawValue() = 1;
  pulse.randomPhaseOn->RawValue() = 1;
  pulse.phase->SetValue(30);
  pulse.spreadValue->value.SetValue(7);
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Vibration> shake;
  shake.direction->SetValue(45);
  shake.rotateWithParticle.RawValue() = 1;
  shake.wave->speed.SetValue(80);
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Deformation> stretch;
  stretch.direction->SetValue(10);
  stretch.name = u"stretch";
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Swinging> swing;
  swing.wave->amplitude.SetValue(20);
  swing.wave->third.SetValue(5);
  ExpectEachReadsBack({&pulse, &shake, &stretch, &swing});
  bool whole = false;
  const auto read = Read(Written(stretch), &whole);
  const auto& back = dynamic_cast<ZKW_PtclSysEffect_Deformation&>(*read);
  EXPECT_EQ(back.direction->Value(), 10u);
  EXPECT_FLOAT_EQ(back.Amplitude(), 0.5f);
}

// A Vibration record of version `vibration` over a TimeFunc record of version `timeFunc`.
std::vector<uint8_t> OldVibration(uint32_t vibration, uint32_t timeFunc) {
  RecordBytes r;
  DS_IOF_Archive& a = r.archive();
  WriteRecordHeader(a, u"ZKW_PtclSysEffect_Vibration", vibration);
  a.io().WriteUInt32(30);
  if (vibration > 1) a.io().WriteInt32(1);
  WriteRecordHeader(a, u"ZKW_PtclSysEffect_TimeFunc", timeFunc);
  for (const uint32_t v : {5u, 10u})
    a.io().WriteUInt32(v);
  a.io().WriteInt32(1);
  a.io().WriteInt32(1);  // noise
  for (const uint32_t v : {60u, 70u, 80u})
    a.io().WriteUInt32(v);
  if (timeFunc > 1) {
    a.io().WriteInt32(1);
    a.io().WriteUInt32(40);
  }
  WriteRecordHeader(a, u"ZKW_ParticlSystem_Effect", 3);
  a.io().WriteWideString(u"old");
  a.io().WriteWideString(u"");
  a.io().WriteBool(false);
  return r.Take();
}

TEST_F(PeriodicEffects, OlderRecordsKeepTheDefaultsOfWhatTheyLack) {
  for (const uint32_t vibration : {1u, 2u}) {
    for (const uint32_t timeFunc : {1u, 2u}) {
      SCOPED_TRACE(testing::Message() << vibration << " " << timeFunc);
      bool whole = false;
      const auto read = Read(OldVibration(vibration, timeFunc), &whole);
      ASSERT_NE(read, nullptr);
      EXPECT_TRUE(whole);
      const auto& v = dynamic_cast<ZKW_PtclSysEffect_Vibration&>(*read);
      EXPECT_EQ(v.direction->Value(), 30u);
      EXPECT_EQ(v.rotateWithParticle.Value(), vibration > 1 ? 1 : 0);
      EXPECT_EQ(v.wave->mode.Value(), 1);
      EXPECT_EQ(v.wave->speed.Value(), 60u);
      EXPECT_FLOAT_EQ(v.Amplitude(), 70.0f);
      EXPECT_EQ(v.randomPhaseOn->Value(), timeFunc > 1 ? 1 : 0);
      EXPECT_EQ(v.phase->Value(), timeFunc > 1 ? 40u : 0u);
      EXPECT_EQ(v.name, u"old");
    }
  }
}

}  // namespace
