#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/crt_rand.h"
#include "core/registry/read_by_name.h"
#include "effect_records.h"
#include "particles/behaviour/effects/angle_effects.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/behaviour/physics/exploding_pic.h"
#include "platform/math/d3dx_math.h"

namespace {

class ParticleEffects : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

TEST_F(ParticleEffects, EveryKindReadsBack) {
  ZKW_PtclSysEffect<ZKW_OrientationInMotion> motion;
  motion.mode->RawValue() = 2;
  motion.name = u"towards";
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_AlignToSource> align;
  align.useClockTime = true;
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_AngleBase> angleBase;
  angleBase.angles->value.SetValue(30);
  angleBase.angles->spread.SetValue(10);
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_AngleDyn> angleDyn;
  angleDyn.direction.mode->RawValue() = 1;
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Spin> spin;
  spin.speed->value.SetValue(360);
  spin.speed->spread.SetValue(25);
  ZKW_PtclSysPhys_ExplodingPic exploding;
  exploding.pieceCount.RawValue() = 12;
  exploding.explodedTime.jitter.SetValue(250);
  exploding.pieceSpeed.value.SetValue(7);

  ExpectEachReadsBack({&motion, &align, &angleBase, &angleDyn, &spin, &exploding});
}

TEST_F(ParticleEffects, AnOlderBaseRecordHasFewerFields) {
  for (const uint32_t version : {1u, 2u, 3u}) {
    auto writer = std::make_unique<DS_IOF_W>();
    DS_IOF_W& w = *writer;
    DS_IOF_Archive archive(std::move(writer));
    WriteRecordHeader(archive, u"ZKW_PtclSysEffect_AlignToSource", 1);
    WriteRecordHeader(archive, u"ZKW_ParticlSystem_Effect", version);
    archive.io().WriteWideString(u"old");
    if (version > 1) archive.io().WriteWideString(u"linked");
    if (version > 2) archive.io().WriteBool(true);
    bool whole = false;
    const auto read = Read(w.TakeBytes(), &whole);
    auto* effect = dynamic_cast<ZKW_ParticlSystem_Effect*>(read.get());
    ASSERT_NE(effect, nullptr);
    EXPECT_TRUE(whole) << version;
    EXPECT_EQ(effect->name, u"old");
    EXPECT_EQ(effect->useClockTime, version > 2);
  }
}

TEST_F(ParticleEffects, ClonesDrawTheirOwnNumbersAndRunOnAClampedClock) {
  EffectList effects;
  effects.Insert(INT_MAX, DS_SafePtr<ZKW_ParticlSystem_Effect>(
                              std::make_unique<ZKW_PtclSysEffect<ZKW_PtclSysEffect_AngleBase>>()));
  effects.Insert(INT_MAX, DS_SafePtr<ZKW_ParticlSystem_Effect>());  // an entry without an effect
  ParticleRecord a, b;
  PtclTr_EffectsVector first(&effects, nullptr), second(&effects, nullptr);
  first.Restart(&a);
  second.Restart(&b);
  ASSERT_EQ(first.Clones().size(), 1u);
  const float ra = dynamic_cast<ZKW_PtclSysEffect_AngleBase&>(*first.Clones()[0]).r;
  const float rb = dynamic_cast<ZKW_PtclSysEffect_AngleBase&>(*second.Clones()[0]).r;
  EXPECT_NE(ra, rb);
  EXPECT_NE(ra, dynamic_cast<ZKW_PtclSysEffect_AngleBase&>(*effects.Value()[0]).r);

  first.Apply(0.5f, &a);
  EXPECT_FLOAT_EQ(first.Context().clock.localTime, 0.2f);
  first.Apply(0.0f, &a);
  first.Restart(&a);
  EXPECT_FLOAT_EQ(first.Context().clock.localTime, 0.2f) << "a restart keeps the clock";
}

TEST_F(ParticleEffects, OrientationFollowsTheMotion) {
  struct Case {
    int mode;
    D3DXVECTOR3 velocity;
    D3DXMATRIX want;
  };
  D3DXMATRIX identity, mirrorX, mirrorY;
  D3DXMatrixIdentity(&identity);
  mirrorX = mirrorY = identity;
  mirrorX._11 = -1;
  mirrorY._22 = -1;
  const float halfPi = 1.5707963f;
  const Case cases[] = {
      {1, {0, -5, 0}, RotationZ(-halfPi)},
      {1, {3, 0, 0}, identity},
      {1, {0, 0, 0}, identity},
      {2, {-1, 1, 0}, mirrorX},
      {2, {1, 1, 0}, identity},
      {3, {1, 1, 0}, mirrorY},
      {3, {1, -1, 0}, identity},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    ZKW_PtclSysEffect<ZKW_OrientationInMotion> effect;
    effect.mode->RawValue() = c.mode;
    ParticleRecord p;
    p.Velocity() = c.velocity;
    D3DXMatrixIdentity(&p.rotationA);
    effect.ApplyToParticle(nullptr, &p);
    ExpectMatrixNear(p.rotationA, c.want);
  }
}

TEST_F(ParticleEffects, SpinTurnsOverTheLifeOrOnTheClock) {
  const float turn = 100.0f * 0.017453292f;
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Spin> spin;
  ParticleRecord p;
  D3DXMatrixIdentity(&p.rotationA);
  p.floats[ParticleRecord::kLife] = 1.0f;
  EffectContext context;
  spin.ApplyToParticle(&context, &p);
  ExpectMatrixNear(p.rotationA, RotationZ(turn));

  spin.useClockTime = true;
  context.clock.localTime = 2.0f;
  D3DXMatrixIdentity(&p.rotationA);
  spin.ApplyToParticle(&context, &p);
  ExpectMatrixNear(p.rotationA, RotationZ(2 * turn));  // 100 degrees a second

  spin.direction.mode->RawValue() = 1;
  D3DXMatrixIdentity(&p.rotationA);
  spin.ApplyToParticle(&context, &p);
  ExpectMatrixNear(p.rotationA, RotationZ(-2 * turn));

  // The rotation effect: a fixed angle within the range, negated.
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Rotation> rotation;
  rotation.angles->value.SetValue(90);
  rotation.r = 0.5f;
  D3DXMatrixIdentity(&p.rotationA);
  rotation.Apply(0.1f, &p);
  ExpectMatrixNear(p.rotationA, RotationZ(-1.5707963f));
}

TEST_F(ParticleEffects, TheExplodingPictureAlternatesWholeAndBurst) {
  crt_srand(3);
  ZKW_PtclSysPhys_ExplodingPic physics;  // both phases 1 s, 100 pieces
  ParticleList parents = {ParticleHandle(std::make_unique<ParticleRecord>())};
  const ParticleList whole = physics.SpawnForParents(&parents);
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_TRUE(physics.Update(&parents, 0.6f).empty());
  const ParticleList pieces = physics.Update(&parents, 0.6f);
  EXPECT_EQ(physics.exploded, 1);
  EXPECT_EQ(pieces.size(), 100u);
  EXPECT_EQ(physics.particles.size(), 100u) << "the whole picture is gone";
  EXPECT_TRUE(whole[0]->Has(ParticleRecord::kDead));
  for (const ParticleHandle& piece : pieces)
    EXPECT_FALSE(piece->Has(ParticleRecord::kDiesWithParent));

  physics.Update(&parents, 0.15f);
  const size_t flying = physics.particles.size();
  EXPECT_GT(flying, 0u);
  const ParticleList back = physics.Update(&parents, 0.8f);
  EXPECT_EQ(physics.exploded, 0);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_TRUE(back[0]->Has(ParticleRecord::kDiesWithParent));
  EXPECT_LE(physics.particles.size(), flying + 1);
}

TEST_F(ParticleEffects, APieceDrawsScaleDirectionSpeedLifeThenItsSpin) {
  ZKW_PtclSysPhys_ExplodingPic physics;
  physics.pieceCount.RawValue() = 1;
  physics.phaseLength = 0.5f;
  ParticleList parents = {ParticleHandle(std::make_unique<ParticleRecord>())};

  crt_srand(11);
  std::vector<float> draws;
  for (int i = 0; i < 16; ++i)
    draws.push_back(crt_rand_unit());
  crt_srand(11);
  const ParticleList pieces = physics.Update(&parents, 1.0f);
  ASSERT_EQ(pieces.size(), 1u);
  // Draws: 0 (which phase comes next), 1 and 2 (the piece's record), 3 scale, 4 and 5 direction,
  // 6 speed, 7 life, 8 the spin's number.
  const ParticleRecord& piece = *pieces[0];
  ASSERT_EQ(piece.transforms.size(), 3u);
  EXPECT_FLOAT_EQ(dynamic_cast<PtclTr_PrmMultiplicator&>(*piece.transforms[0]).factor,
                  physics.pieceScale.Factor(draws[3]));
  EXPECT_FLOAT_EQ(D3DXVec3Length(&piece.vectors[ParticleRecord::kVelocity]),
                  physics.pieceSpeed.Factor(draws[6]));
  EXPECT_FLOAT_EQ(dynamic_cast<PtclTr_DieOnTimer&>(*piece.transforms[1]).limit,
                  physics.pieceLife.Factor(draws[7]));
  EXPECT_FLOAT_EQ(dynamic_cast<ZKW_PtclSysEffect_Spiner&>(*piece.transforms[2]).r, draws[8]);
  const D3DXVECTOR3 d = piece.vectors[ParticleRecord::kDirection];
  EXPECT_NEAR(D3DXVec3Length(&d), 1.0f, 1e-5f);
  EXPECT_NEAR(piece.Position().x, 0.5f * d.x, 1e-6f);
}

}  // namespace
