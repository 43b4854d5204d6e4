#include <gtest/gtest.h>

#include <memory>

#include "behaviour_classes.h"
#include "geometry/figure/zkw_vfigure_rect.h"
#include "particles/behaviour/particle/oscillation_transforms.h"
#include "particles/behaviour/sources/parent_sources.h"
#include "particles/behaviour/sources/swarm_motion.h"
#include "platform/math/d3dx_math.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Bytes;
using behaviour_test::ExpectRoundTrip;
using behaviour_test::ReadAs;
using behaviour_test::Saved;

class ParentSources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

ParticleHandle Particle() {
  return ParticleHandle(std::make_unique<ParticleRecord>());
}

TEST_F(ParentSources, PointIsTiedToItsParent) {
  ZKW_PSGeometry_Point point;
  point.size.value.SetValue(100);
  ParticleHandle parent = Particle();
  parent->floats[ParticleRecord::kLife] = 0.4f;
  parent->vectors[ParticleRecord::kDirection] = D3DXVECTOR3(0, -1, 0);
  const ParticleList made = point.SpawnForParent(parent);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_TRUE(made[0]->Has(ParticleRecord::kRelativeToParent));
  EXPECT_TRUE(made[0]->Has(ParticleRecord::kDiesWithParent));
  made[0]->Update(0.1f);
  EXPECT_FLOAT_EQ(made[0]->floats[ParticleRecord::kLife], 0.4f);
  parent->flags |= ParticleRecord::kDead;
  point.UpdateParticles(0.1f);
  EXPECT_TRUE(point.particles.empty()) << "dies with the parent";
}

TEST_F(ParentSources, SwarmFillsItsBoxAndTurnsBackIntoIt) {
  ZKW_PSGeometry_Swarm swarm;
  ParticleHandle parent = Particle();
  EXPECT_TRUE(swarm.SpawnForParent(parent).empty()) << "count 0 makes nothing";

  swarm.count.SetValue(3);
  swarm.position.SetValue(D3DXVECTOR3(5, 6, 0));
  ParticleList made = swarm.SpawnForParent(parent);
  ASSERT_EQ(made.size(), 3u);
  for (const ParticleHandle& p : made) {
    EXPECT_FLOAT_EQ(p->Position().x, 5.0f) << "a box of 0 x 0 starts on the position";
    EXPECT_FLOAT_EQ(p->Position().y, 6.0f);
  }

  swarm.width.SetValue(100);
  swarm.height.SetValue(100);
  swarm.speed.SetValue(25);  // 1.0
  ParticleRecord& p = *made[0];
  auto* motion = dynamic_cast<PtclTr_Brownian*>(p.transforms.back().Get());
  ASSERT_NE(motion, nullptr);
  p.Position() = D3DXVECTOR3(200, 6, 0);  // far right of the box
  motion->velocity = D3DXVECTOR3(80, 0, 0);
  motion->retargetTime = 10.0f;
  motion->Apply(0.01f, &p);
  EXPECT_FALSE(motion->inside);
  EXPECT_LT(motion->acceleration.x, 0.0f) << "steers home";
  for (int i = 0; i < 200; ++i)
    motion->Apply(0.01f, &p);
  EXPECT_LT(p.Position().x, 200.0f);
  EXPECT_LT(motion->velocity.x, 0.0f);

  swarm.count.SetValue(4000000000u);
  EXPECT_LE(swarm.SpawnForParent(parent).size(), 131072u) << "stops at the ceiling";
}

TEST_F(ParentSources, TraceFollowsTheParentAndStartsNewPoints) {
  ZKW_PSGeometry_Trace trace;
  ParticleHandle parent = Particle();
  parent->Velocity() = D3DXVECTOR3(3, 4, 0);
  EXPECT_EQ(trace.Emit(0.1f, &parent).size(), 1u);
  parent->Position() = D3DXVECTOR3(2, 0, 0);
  EXPECT_EQ(trace.Emit(0.1f, &parent).size(), 1u);
  ASSERT_EQ(trace.particles.size(), 2u);
  EXPECT_FLOAT_EQ(trace.particles[0]->presetCell[0], 0.0f);
  EXPECT_FLOAT_EQ(trace.particles[1]->presetCell[0], 0.0f) << "under two points: distance 0";

  // Closer than 10 to the point before the last: the last point follows.
  parent->Position() = D3DXVECTOR3(6, 0, 0);
  EXPECT_TRUE(trace.Emit(0.1f, &parent).empty());
  EXPECT_FLOAT_EQ(trace.particles[1]->Position().x, 6.0f);
  EXPECT_FLOAT_EQ(trace.particles[1]->presetCell[0], 6.0f);
  EXPECT_NEAR(trace.particles[1]->vectors[ParticleRecord::kDirection].x, 0.6f, 1e-5f);
  // 12 units away: a new point.
  parent->Position() = D3DXVECTOR3(12, 0, 0);
  EXPECT_EQ(trace.Emit(0.1f, &parent).size(), 1u);
  EXPECT_FLOAT_EQ(trace.particles[2]->presetCell[0], 12.0f);
  trace.UpdateParticles(2.5f);
  EXPECT_TRUE(trace.particles.empty()) << "trail points live 2 seconds";
}

TEST_F(ParentSources, GroupSpreadsPhasesAndFillsTheGrid) {
  ZKW_PSSource_Group group;
  auto rect = std::make_unique<ZKW_VFigure_Rect>();
  rect->width.SetValue(40);
  rect->height.SetValue(30);
  group.figure.SetFigure(DS_SafePtr<ZKW_VFigure>(std::move(rect)), nullptr);
  ParticleHandle parent = Particle();
  EXPECT_TRUE(group.SpawnForParent(parent).empty()) << "no rows";

  group.rows.SetValue(3);
  group.columns.SetValue(4);
  group.rowPhase.SetValue(90);
  const ParticleList made = group.SpawnForParent(parent);
  ASSERT_EQ(made.size(), 12u);
  const float rowPhases[] = {0.0f, 0.5236f, 1.0472f};
  for (unsigned i = 0; i < 12; ++i) {
    auto* o = dynamic_cast<PtclTr_Oscilator*>(made[i]->transforms[2].Get());
    ASSERT_NE(o, nullptr);
    EXPECT_NEAR(o->harmonic.phase, rowPhases[i / 4], 1e-4f) << i;
    D3DXVECTOR3 cell;
    group.figure.Figure()->GridPoint(&cell, i, 3, 4);
    EXPECT_FLOAT_EQ(made[i]->Position().x, cell.x) << i;
    EXPECT_FLOAT_EQ(made[i]->Position().y, cell.y) << i;
    EXPECT_TRUE(made[i]->Has(ParticleRecord::kDiesWithParent));
  }
}

TEST_F(ParentSources, RecordsRoundTrip) {
  ZKW_PSGeometry_Point point;
  point.name = u"p";
  ExpectRoundTrip<ZKW_PSGeometry_Point>(point);
  ZKW_PSGeometry_Trace trace;
  trace.size.value.SetValue(50);
  ExpectRoundTrip<ZKW_PSGeometry_Trace>(trace);
  ZKW_PSGeometry_Swarm swarm;
  swarm.count.SetValue(12);
  swarm.speed.SetValue(3);
  swarm.retargetRate.SetValue(4);
  swarm.travelTime.SetValue(5);
  swarm.width.SetValue(6);
  swarm.height.SetValue(7);
  ExpectRoundTrip<ZKW_PSGeometry_Swarm>(swarm);
  ZKW_PSSource_Group group;
  group.rows.SetValue(2);
  group.columns.SetValue(3);
  group.randomPlacement.SetValue(1);
  group.rowPhase.SetValue(45);
  group.columnPhase.SetValue(15);
  ExpectRoundTrip<ZKW_PSSource_Group>(group);
}

TEST_F(ParentSources, GroupWithAnUnknownFigureKeepsItsFigure) {
  ZKW_PSSource_Group group;
  group.rows.SetValue(1);
  group.columns.SetValue(2);
  const std::vector<uint8_t> bytes = Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PSSource_Group", 1);
    a.io().WriteUInt32(1);
    a.io().WriteUInt32(2);
    a.io().WriteInt32(0);
    a.io().WriteUInt32(0);
    a.io().WriteUInt32(0);
    WriteRecordHeader(a, u"ZKW_PtclSys_Source", 1);
    WriteRecordHeader(a, u"ZKW_VFigure_Unheard", 1);
  });
  bool whole = false;
  auto read = ReadAs<ZKW_PSSource_Group>(bytes, &whole);
  ASSERT_NE(read, nullptr);
  ASSERT_NE(read->figure.Figure(), nullptr);
  EXPECT_EQ(read->SpawnForParent(Particle()).size(), 2u);
}

}  // namespace
