#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "core/crt_rand.h"
#include "geometry/shape/zkw_vgeom2d_rect.h"
#include "particles/behaviour/laws/centred_laws.h"
#include "particles/behaviour/laws/motion_law.h"
#include "particles/behaviour/particle/motion_transforms.h"
#include "particles/behaviour/particle/process_clock.h"
#include "particles/behaviour/physics/emitting_physics.h"
#include "platform/math/d3dx_math.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Bytes;
using behaviour_test::ExpectRoundTrip;
using behaviour_test::ReadAs;
using behaviour_test::Saved;

class MotionLaws : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
  void SetUp() override { crt_srand(7); }
};

constexpr float kDegrees = 57.29578f;

TEST_F(MotionLaws, VectorShootsAlongItsDirection) {
  ZKW_PtclSysMLaw_Vector law;
  law.direction.SetValue(90);
  ParticleRecord p;
  law.ApplyToParticle(&p, nullptr);
  EXPECT_NEAR(p.vectors[ParticleRecord::kDirection].x, 0.0f, 1e-6f);
  EXPECT_FLOAT_EQ(p.vectors[ParticleRecord::kDirection].y, -1.0f);
  EXPECT_NEAR(p.Velocity().y, -100.0f, 1e-4f);

  law.spread.SetValue(60);
  float lowest = 0.0f, highest = -180.0f;
  for (int i = 0; i < 500; ++i) {
    ParticleRecord q;
    law.ApplyToParticle(&q, nullptr);
    const D3DXVECTOR3& d = q.vectors[ParticleRecord::kDirection];
    const float angle = std::atan2(d.y, d.x) * kDegrees;
    lowest = std::min(lowest, angle);
    highest = std::max(highest, angle);
  }
  EXPECT_GE(lowest, -120.001f);
  EXPECT_LE(highest, -59.999f);
  EXPECT_LT(lowest, -115.0f) << "the arc is used to its ends";
  EXPECT_GT(highest, -65.0f);
}

TEST_F(MotionLaws, AFigureSourceDrawsInItsOrder) {
  ZKW_PtclSysPhys_SourceFig source;
  source.SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Rect"));
  auto law = std::make_unique<ZKW_PtclSysMLaw_Vector>();
  law->spread.SetValue(60);
  law->speed.spread.SetValue(50);
  source.law = DS_SafePtr<ZKW_PtclSys_MotionLaw>(std::move(law));
  ParticleRecord p;  // its Reset draws too
  crt_srand(42);
  source.InitNewParticle(&p);

  crt_srand(42);
  float uv[2] = {crt_rand_unit(), crt_rand_unit()};
  D3DXVECTOR3 at;
  ASSERT_TRUE(source.GetGeometry()->PointAt(uv, &at, nullptr));
  const float r1 = crt_rand_unit(), r2 = crt_rand_unit();
  const float angle = -(60.0f * (r1 - 0.5f)) / kDegrees;
  const float speed = 100.0f * (0.5f + 0.5f * r2);
  EXPECT_EQ(p.Position(), at);
  EXPECT_NEAR(p.Velocity().x, speed * std::cos(angle), 1e-3f);
  EXPECT_NEAR(p.Velocity().y, speed * std::sin(angle), 1e-3f);
}

TEST_F(MotionLaws, RadialAimsAwayFromTheCentre) {
  ZKW_PtclSysMLaw_Radial law;
  {
    SCOPED_TRACE("at the exact centre: a random direction at full speed");
    ParticleRecord p;
    law.ApplyToParticle(&p, nullptr);
    EXPECT_NEAR(D3DXVec3Length(&p.vectors[ParticleRecord::kDirection]), 1.0f, 1e-5f);
    EXPECT_NEAR(D3DXVec3Length(&p.Velocity()), 50.0f, 1e-3f);
  }
  {
    SCOPED_TRACE("at the exact centre of a shape: the shape's random direction");
    auto dot = std::make_unique<ZKW_VGeom2D_Rect>();
    dot->width.RawValue() = 0;
    dot->height.RawValue() = 0;
    dot->position.RawValue() = D3DXVECTOR3(5, 6, 0);
    ParticleRecord p;
    crt_srand(11);
    law.ApplyToParticle(&p, dot.get());
    EXPECT_EQ(p.Position(), D3DXVECTOR3(5, 6, 0));
    crt_srand(11);
    crt_rand();
    crt_rand();  // the shape's random point
    D3DXVECTOR3 expected;
    dot->RandomDirection(&expected);
    EXPECT_NEAR(p.vectors[ParticleRecord::kDirection].x, expected.x, 1e-5f);
    EXPECT_NEAR(p.vectors[ParticleRecord::kDirection].y, expected.y, 1e-5f);
    EXPECT_NEAR(D3DXVec3Length(&p.Velocity()), 50.0f, 1e-3f);
  }
  const auto rect = CreateVGeom2DByName("ZKW_VGeom2D_Rect");
  D3DXVECTOR3 centre;
  rect->GetCenter(&centre);
  int inwards = 0;
  law.mode.RawValue() = 2;
  for (int i = 0; i < 1000; ++i) {
    ParticleRecord p;
    law.ApplyToParticle(&p, rect.get());
    const D3DXVECTOR3 out = p.Position() - centre;
    if (D3DXVec3Dot(&out, &p.Velocity()) < 0.0f) ++inwards;
  }
  EXPECT_GT(inwards, 400);
  EXPECT_LT(inwards, 600);
}

TEST_F(MotionLaws, LawsWithoutAShapeLeaveTheParticle) {
  ZKW_PtclSysMLaw_Normal normal;
  ZKW_PtclSysMLaw_Loop loop;
  for (ZKW_PtclSys_MotionLaw* law : std::initializer_list<ZKW_PtclSys_MotionLaw*>{&normal, &loop}) {
    ParticleRecord p(D3DXVECTOR3(3, 4, 0));
    law->ApplyToParticle(&p, nullptr);
    EXPECT_EQ(p.Position(), D3DXVECTOR3(3, 4, 0));
    EXPECT_EQ(p.Velocity(), D3DXVECTOR3(0, 0, 0));
    EXPECT_TRUE(p.transforms.empty());
    EXPECT_FALSE(p.Has(ParticleRecord::kDead));
  }
}

TEST_F(MotionLaws, TheTunnelOrbitsAndDives) {
  ZKW_PtclSysMLCentred_Tunel law;
  EXPECT_TRUE(law.NeedsDepthSort());
  EXPECT_FALSE(ZKW_PtclSysMLaw_Radial().NeedsDepthSort());
  {
    SCOPED_TRACE("depth 0 only orbits");
    ParticleRecord p(D3DXVECTOR3(10, 0, 0));
    law.ApplyToParticle(&p, nullptr);
    EXPECT_TRUE(p.Has(ParticleRecord::kNoKinematic));
    ASSERT_EQ(p.transforms.size(), 1u);
    p.transforms[0]->Apply(0.9f, &p);  // 100 degrees a second
    EXPECT_NEAR(p.Position().x, 0.0f, 1e-4f);
    EXPECT_NEAR(std::fabs(p.Position().y), 10.0f, 1e-4f);
    EXPECT_EQ(p.Position().z, 0.0f);
    EXPECT_EQ(p.vectors[ParticleRecord::kPositionOffset], D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(p.floats[ParticleRecord::kScale], 1.0f);
  }
  {
    SCOPED_TRACE("reverse 0 runs from depth 0 to the full depth over the life");
    law.depth.SetValue(100);
    ParticleRecord p(D3DXVECTOR3(10, 0, 0));
    law.ApplyToParticle(&p, nullptr);
    p.transforms[0]->Apply(0.0f, &p);
    EXPECT_EQ(p.Position().z, 0.0f);
    p.floats[ParticleRecord::kLife] = 1.0f;
    p.transforms[0]->Apply(0.0f, &p);
    EXPECT_FLOAT_EQ(p.Position().z, 100.0f);
    const float k = 100.0f / (11.0f + 100.0f);
    EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kScale], 1.0f - k);
    EXPECT_NEAR(p.vectors[ParticleRecord::kPositionOffset].x, -10.0f * k, 1e-4f);
  }
}

TEST_F(MotionLaws, SpiralAndLoopAttachTheirTransforms) {
  const auto rect = CreateVGeom2DByName("ZKW_VGeom2D_Rect");
  ZKW_PtclSysMLaw_Spiral spiral;
  ParticleRecord p;
  spiral.ApplyToParticle(&p, rect.get());
  ASSERT_EQ(p.transforms.size(), 1u);
  EXPECT_NE(dynamic_cast<PtclTr_Spiral*>(p.transforms[0].Get()), nullptr);
  p.transforms[0]->Apply(0.0f, &p);
  D3DXVECTOR3 centre;
  rect->GetCenter(&centre);
  const D3DXVECTOR3 q = p.Position() - centre;
  EXPECT_NEAR(D3DXVec3Dot(&q, &p.Velocity()), 0.0f, 1e-2f * D3DXVec3LengthSq(&q))
      << "an angular speed alone turns about the centre";
  // The inward switch is a stored Int32: any value moves the particle without overflowing.
  spiral.spiral.inward.RawValue() = std::numeric_limits<int32_t>::min();
  spiral.spiral.radialSpeed.value.SetValue(10);
  p.transforms[0]->Apply(0.0f, &p);
  EXPECT_TRUE(std::isfinite(p.Velocity().x));

  ZKW_PtclSysMLaw_Loop loop;
  ParticleRecord l;
  loop.ApplyToParticle(&l, rect.get());
  ASSERT_EQ(l.transforms.size(), 1u);
  EXPECT_NE(dynamic_cast<PtclTr_Loop*>(l.transforms[0].Get()), nullptr);
  loop.attachMode.RawValue() = 1;
  ParticleRecord detached;
  loop.ApplyToParticle(&detached, rect.get());
  EXPECT_TRUE(detached.transforms.empty());
}

int64_t g_now = 0;
int64_t FixedClock() {
  return g_now;
}

TEST_F(MotionLaws, AVelocityFieldFlowsOnTheProcessClock) {
  SetProcessClockForTesting(&FixedClock);
  ZKW_PtclSysMLaw_VelocityField law;
  law.field.drift.value.SetValue(10);
  law.field.driftDirection.SetValue(270);  // +y
  ParticleRecord p(D3DXVECTOR3(37, 11, 0));
  law.ApplyToParticle(&p, nullptr);
  ASSERT_EQ(p.transforms.size(), 1u);
  g_now = 1000;
  p.transforms[0]->Apply(0.1f, &p);
  const D3DXVECTOR3 first = p.Velocity();
  p.transforms[0]->Apply(0.1f, &p);
  EXPECT_EQ(p.Velocity(), first) << "the same clock time, the same field";
  g_now = 4000;
  p.transforms[0]->Apply(0.1f, &p);
  EXPECT_NE(p.Velocity(), first) << "the field moves with the clock";
  law.field.strength.SetValue(0);
  p.transforms[0]->Apply(0.1f, &p);
  EXPECT_NEAR(p.Velocity().x, 0.0f, 1e-4f);
  EXPECT_NEAR(p.Velocity().y, 10.0f, 1e-4f) << "the drift alone";
  SetProcessClockForTesting(nullptr);
}

TEST_F(MotionLaws, EveryLawReadsBack) {
  std::vector<std::unique_ptr<ZKW_PtclSys_MotionLaw>> laws;
  auto vector = std::make_unique<ZKW_PtclSysMLaw_Vector>();
  vector->direction.SetValue(45);
  vector->spread.SetValue(20);
  vector->detach.RawValue() = 1;
  laws.push_back(std::move(vector));
  laws.push_back(std::make_unique<ZKW_PtclSysMLaw_Kinematic>());
  laws.push_back(std::make_unique<ZKW_PtclSysMLaw_Normal>());
  auto field = std::make_unique<ZKW_PtclSysMLaw_VelocityField>();
  field->field.strength.SetValue(30);
  laws.push_back(std::move(field));
  auto loop = std::make_unique<ZKW_PtclSysMLaw_Loop>();
  loop->attachMode.RawValue() = 1;
  laws.push_back(std::move(loop));
  auto radial = std::make_unique<ZKW_PtclSysMLaw_Radial>();
  radial->mode.RawValue() = 2;
  radial->centreOffset.RawValue() = D3DXVECTOR3(1, 2, 3);
  laws.push_back(std::move(radial));
  auto spiral = std::make_unique<ZKW_PtclSysMLaw_Spiral>();
  spiral->spiral.inward.RawValue() = 1;
  laws.push_back(std::move(spiral));
  auto tunnel = std::make_unique<ZKW_PtclSysMLCentred_Tunel>();
  tunnel->depth.SetValue(300);
  tunnel->reverse.RawValue() = 1;
  laws.push_back(std::move(tunnel));
  for (const auto& law : laws) {
    ExpectRoundTrip<ZKW_PtclSys_MotionLaw>(*law);
  }
}

// The tail of a law record: the base record of `version` (version 1 has no detach flag).
void WriteBase(DS_IOF_Archive& a, uint32_t version) {
  WriteRecordHeader(a, u"ZKW_PtclSys_MotionLaw", version);
  if (version > 1) a.io().WriteInt32(1);
}

void WriteSpeed(DS_IOF_Archive& a, unsigned value) {
  WriteGraphSpreadPrm(a, GraphSpreadPrm{value, 1.0f});
}

TEST_F(MotionLaws, OlderLawRecordsRead) {
  bool whole = false;
  {
    SCOPED_TRACE("Vector 1: no spread; a base without the detach flag");
    const auto read =
        ReadAs<ZKW_PtclSysMLaw_Vector>(Bytes([](DS_IOF_Archive& a) {
                                         WriteRecordHeader(a, u"ZKW_PtclSysMLaw_Vector", 1);
                                         a.io().WriteUInt32(30);
                                         WriteRecordHeader(a, u"ZKW_PtclSysMLaw_Kinematic", 1);
                                         WriteSpeed(a, 70);
                                         WriteBase(a, 1);
                                       }),
                                       &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_EQ(read->direction.Value(), 30u);
    EXPECT_EQ(read->spread.Value(), 0u);
    EXPECT_EQ(read->speed.value.Value(), 70u);
    EXPECT_EQ(read->detach.Value(), 0);
  }
  {
    SCOPED_TRACE("VelocityField 1: no block");
    const auto read = ReadAs<ZKW_PtclSysMLaw_VelocityField>(
        Bytes([](DS_IOF_Archive& a) {
          WriteRecordHeader(a, u"ZKW_PtclSysMLaw_VelocityField", 1);
          WriteRecordHeader(a, u"ZKW_PtclSysMLaw_Kinematic", 1);
          WriteSpeed(a, 70);
          WriteBase(a, 2);
        }),
        &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_EQ(read->field.strength.Value(), 100u);
    EXPECT_EQ(read->detach.Value(), 1);
  }
  for (const uint32_t version : {1u, 2u}) {
    SCOPED_TRACE(version == 1 ? "Radial 1: no mode, no offset" : "Radial 2: a mode, no offset");
    const auto read =
        ReadAs<ZKW_PtclSysMLaw_Radial>(Bytes([&](DS_IOF_Archive& a) {
                                         WriteRecordHeader(a, u"ZKW_PtclSysMLaw_Radial", version);
                                         if (version > 1) a.io().WriteInt32(1);
                                         WriteRecordHeader(a, u"ZKW_PtclSysMLaw_Kinematic", 1);
                                         WriteSpeed(a, 80);
                                         WriteBase(a, 2);
                                       }),
                                       &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_EQ(read->mode.Value(), version > 1 ? 1 : 0);
    EXPECT_EQ(read->speed.value.Value(), 80u);
    EXPECT_EQ(read->centreOffset.Value(), D3DXVECTOR3(0, 0, 0));
  }
  {
    SCOPED_TRACE("Spiral 1: the base record follows the block");
    const auto read =
        ReadAs<ZKW_PtclSysMLaw_Spiral>(Bytes([](DS_IOF_Archive& a) {
                                         WriteRecordHeader(a, u"ZKW_PtclSysMLaw_Spiral", 1);
                                         SpiralPrm block;
                                         block.directionMode.RawValue() = 2;
                                         WriteSpiralPrm(a, block);
                                         WriteBase(a, 2);
                                       }),
                                       &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_EQ(read->spiral.directionMode.Value(), 2);
    EXPECT_EQ(read->speed.value.Value(), 50u);
  }
  {
    SCOPED_TRACE("an unknown law class fails the stream");
    const auto read =
        ReadAs<ZKW_PtclSysPhys_SourceFig>(Bytes([](DS_IOF_Archive& a) {
                                            WriteRecordHeader(a, u"ZKW_PtclSysPhys_SourceFig", 2);
                                            WriteRecordHeader(a, u"ZKW_PtclSysMLaw_Unknown", 1);
                                          }),
                                          &whole);
    EXPECT_FALSE(whole);
    if (read) EXPECT_FALSE(read->law);
  }
}

}  // namespace
