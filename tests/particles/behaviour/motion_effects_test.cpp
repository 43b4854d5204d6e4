#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "particles/behaviour/effects/motion_effects.h"
#include "platform/math/d3dx_math.h"
#include "record_bytes.h"

namespace {

using behaviour_test::ExpectRoundTrip;
using behaviour_test::ReadAs;
using behaviour_test::Saved;

class MotionEffects : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

TEST_F(MotionEffects, GravityPullsAlongItsDirection) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_ForceGravitation> gravity;
  ParticleRecord p;
  EffectContext context;
  gravity.ApplyToParticle(&context, &p);
  EXPECT_EQ(p.vectors[ParticleRecord::kAcceleration], D3DXVECTOR3(0, 0, 0)) << "strength 0";
  gravity.strength->SetValue(50);
  gravity.ApplyToParticle(&context, &p);
  EXPECT_NEAR(p.vectors[ParticleRecord::kAcceleration].x, 0.0f, 1e-4f);
  EXPECT_NEAR(p.vectors[ParticleRecord::kAcceleration].y, 50.0f, 1e-4f);
}

TEST_F(MotionEffects, DragGrowsWithTheSquareOfTheSpeedAgainstTheMotion) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_ForceDrag> drag;
  drag.strength->SetValue(10);  // -0.001
  EffectContext context;
  ParticleRecord still;
  drag.ApplyToParticle(&context, &still);
  EXPECT_EQ(still.vectors[ParticleRecord::kAcceleration], D3DXVECTOR3(0, 0, 0));
  for (const float speed : {10.0f, 20.0f}) {
    ParticleRecord p;
    p.Velocity() = D3DXVECTOR3(0, -speed, 0);
    drag.ApplyToParticle(&context, &p);
    EXPECT_NEAR(p.vectors[ParticleRecord::kAcceleration].y, 0.001f * speed * speed, 1e-5f);
    EXPECT_EQ(p.vectors[ParticleRecord::kAcceleration].x, 0.0f);
  }
}

TEST_F(MotionEffects, ScrollTexShiftsTheRectangleByTheClock) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_ScrollTex> scroll;
  EXPECT_TRUE(scroll.NeedsWrapAddressing());
  EXPECT_FALSE(ZKW_PtclSysEffect<ZKW_PtclSysEffect_BgTex>().NeedsWrapAddressing());
  scroll.direction->RawValue() = 1;
  EffectContext context;
  context.clock.step = 0.1f;
  ParticleRecord p;
  for (int i = 0; i < 10; ++i)
    scroll.ApplyToParticle(&context, &p);
  EXPECT_NEAR(p.texRect[0], 0.5f, 1e-5f);
  EXPECT_NEAR(p.texRect[1], 1.5f, 1e-5f);
  EXPECT_EQ(p.texRect[2], 0.0f);
  EXPECT_EQ(p.texRect[3], 1.0f);
  scroll.direction->RawValue() = 2;
  scroll.ApplyToParticle(&context, &p);
  EXPECT_EQ(p.texRect[0], 0.0f);
  EXPECT_NEAR(p.texRect[2], -0.55f, 1e-5f);
}

TEST_F(MotionEffects, BgTexMarksTheParticleForTheFrame) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_BgTex> bg;
  ParticleRecord p;
  bg.ApplyToParticle(nullptr, &p);
  EXPECT_TRUE(p.Has(ParticleRecord::kSamplesBackground));
  p.Update(0.1f);
  EXPECT_FALSE(p.Has(ParticleRecord::kSamplesBackground));
}

TEST_F(MotionEffects, TheMotionLawEffectActsOnceOnANewParticle) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_MotionLaw> effect;
  ParticleRecord p;
  effect.PrepareParticle(&p);
  EXPECT_NEAR(p.Velocity().x, 100.0f, 1e-3f) << "the default Vector law";
  effect.law.Release();
  ParticleRecord q;
  EXPECT_TRUE(effect.PrepareParticle(&q));
  EXPECT_EQ(q.Velocity(), D3DXVECTOR3(0, 0, 0));
}

TEST_F(MotionEffects, RecordsReadBack) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_ForceGravitation> gravity;
  gravity.direction->SetValue(200);
  gravity.strength->SetValue(7);
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_ForceDrag> drag;
  drag.strength->SetValue(3);
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_ScrollTex> scroll;
  scroll.direction->RawValue() = 3;
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_BgTex> bg;
  bg.name = u"below";
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_MotionLaw> law;
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_MotionLaw> noLaw;
  noLaw.law.Release();
  for (const ZKW_ParticlSystem_Effect* effect :
       std::initializer_list<const ZKW_ParticlSystem_Effect*>{&gravity, &drag, &scroll, &bg, &law,
                                                              &noLaw}) {
    ExpectRoundTrip<ZKW_ParticlSystem_Effect>(*effect);
  }
}

}  // namespace
