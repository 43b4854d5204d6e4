#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "particles/behaviour/particle/motion_transforms.h"
#include "particles/behaviour/particle/swarm_transforms.h"
#include "particles/behaviour/physics/shaped_points.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Bytes;
using behaviour_test::ExpectRoundTrip;
using behaviour_test::ReadAs;
using behaviour_test::Saved;

class ShapedPoints : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

ParticleList OneParent() {
  return {ParticleHandle(std::make_unique<ParticleRecord>())};
}

TEST_F(ShapedPoints, FixedSpotsSitAtTheCellCentres) {
  ZKW_PtclSysPhys_FixedSpots spots;
  ParticleList parents = OneParent();
  EXPECT_TRUE(spots.SpawnForParents(&parents).empty()) << "no shape, no spots";
  spots.SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Rect"));
  EXPECT_TRUE(spots.SpawnForParents(nullptr).empty());
  const ParticleList made = spots.SpawnForParents(&parents);
  ASSERT_EQ(made.size(), 9u);
  const float thirds[] = {1.0f / 6, 0.5f, 5.0f / 6};
  for (size_t k = 0; k < made.size(); ++k) {
    const D3DXVECTOR3& uv = made[k]->vectors[ParticleRecord::kSurface];
    EXPECT_FLOAT_EQ(uv.x, thirds[k / 3]);
    EXPECT_FLOAT_EQ(uv.y, thirds[k % 3]);
    D3DXVECTOR3 expected;
    float at[2] = {uv.x, uv.y};
    spots.GetGeometry()->PointAt(at, &expected, nullptr);
    EXPECT_EQ(made[k]->Position(), expected);
    EXPECT_TRUE(made[k]->Has(ParticleRecord::kDiesWithParent));
  }
  ZKW_PtclSysPhys_FixedSpots freeform;
  freeform.SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Freeform"));
  EXPECT_TRUE(freeform.SpawnForParents(&parents).empty());
}

TEST_F(ShapedPoints, LoopsKillAtTheEdgeOrWrapAndJump) {
  const auto rect = CreateVGeom2DByName("ZKW_VGeom2D_Rect");
  LoopPrm loop;
  loop.speed.value.SetValue(1000);  // 0.1 of the shape a step
  ParticleRecord p;
  PtclTr_Loop wrap(rect.get(), 0.95f, 0.5f, &loop, 1.0f);
  EXPECT_TRUE(wrap.Apply(0.0f, &p));
  EXPECT_NEAR(wrap.u, 0.05f, 1e-5f);
  EXPECT_TRUE(p.Has(ParticleRecord::kJumped));
  D3DXVECTOR3 expected;
  rect->PointAtUV(wrap.u, wrap.v, &expected, nullptr);
  EXPECT_EQ(p.Position(), expected);
  EXPECT_GT(p.Velocity().x, 0.0f) << "moving along u";

  loop.edgeMode.RawValue() = 1;
  PtclTr_Loop edge(rect.get(), 0.95f, 0.5f, &loop, 1.0f);
  ParticleRecord q;
  EXPECT_FALSE(edge.Apply(0.0f, &q));
  PtclTr_Loop inside(rect.get(), 0.5f, 0.5f, &loop, 1.0f);
  EXPECT_TRUE(inside.Apply(0.0f, &q));
  EXPECT_FALSE(q.Has(ParticleRecord::kJumped));
}

TEST_F(ShapedPoints, NestsPlaceOnTheShapeOrAtTheOrigin) {
  ZKW_PtclSysPhys_Swarm swarm;
  ZKW_PtclSysPhys_Flow flow;
  for (ZKW_PtclSysPhys_PntNest* nest :
       std::initializer_list<ZKW_PtclSysPhys_PntNest*>{&swarm, &flow}) {
    ParticleList parents = OneParent();
    const ParticleList bare = nest->SpawnForParents(&parents);
    ASSERT_EQ(bare.size(), 1u);
    EXPECT_EQ(bare[0]->Position(), D3DXVECTOR3(0, 0, 0));
    EXPECT_FALSE(bare[0]->Has(ParticleRecord::kDiesWithParent));
    bare[0]->Update(0.1f);  // flies or flows freely without a shape

    nest->SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Rect"));
    nest->count.RawValue() = 50;
    for (const ParticleHandle& p : nest->SpawnForParents(&parents)) {
      EXPECT_TRUE(nest->GetGeometry()->Contains(p->Position()));
      for (int frame = 0; frame < 20; ++frame)
        p->Update(0.05f);
    }
  }
}

TEST_F(ShapedPoints, AFlowReentersAgainstItsDirection) {
  ZKW_PtclSysPhys_Flow flow;
  flow.SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Rect"));  // x from -300 to 300
  flow.flow.speed.value.SetValue(1000);
  ParticleList parents = OneParent();
  const ParticleHandle p = flow.SpawnForParents(&parents).front();
  bool wrapped = false;
  for (int frame = 0; frame < 40; ++frame) {
    const float x = p->Position().x;
    p->Update(0.1f);
    EXPECT_NEAR(p->Velocity().x, 1000.0f, 1e-2f);
    if (p->Position().x < x) {
      wrapped = true;
      EXPECT_NEAR(p->Position().x, -300.0f, 1.0f) << "re-entered on the upstream edge";
    }
  }
  EXPECT_TRUE(wrapped);
}

TEST_F(ShapedPoints, RecordsReadBack) {
  ZKW_PtclSysPhys_Swarm swarm;
  swarm.fly.speed.SetValue(40);
  swarm.count.RawValue() = 6;
  ZKW_PtclSysPhys_Flow flow;
  flow.flow.direction.SetValue(45);
  flow.SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Rect"));
  ZKW_PtclSysPhys_FixedSpots spots;
  spots.rows.RawValue() = 4;
  spots.loopMode.RawValue() = 1;
  spots.loop.edgeMode.RawValue() = 1;
  for (const ZKW_PtclSys_Physics* physics :
       std::initializer_list<const ZKW_PtclSys_Physics*>{&swarm, &flow, &spots}) {
    ExpectRoundTrip<ZKW_PtclSys_Physics>(*physics);
  }
}

TEST_F(ShapedPoints, VersionOneSwarmsAndFlowsHoldTheirShape) {
  for (const char16_t* kind : {u"ZKW_PtclSysPhys_Swarm", u"ZKW_PtclSysPhys_Flow"}) {
    const std::vector<uint8_t> bytes = Bytes([&](DS_IOF_Archive& a) {
      WriteRecordHeader(a, kind, 1);
      CreateVGeom2DByName("ZKW_VGeom2D_Rect")->Save(a);
      if (kind[16] == u'S') {
        RandomFlyPrm fly;
        fly.vertical.SetValue(30);
        WriteRandomFlyPrm(a, fly);
      } else {
        FlowPrm block;
        block.scatter.SetValue(30);
        WriteFlowPrm(a, block);
      }
      ZKW_PtclSysPhys_ConstPntGroup group;
      group.count.RawValue() = 4;
      group.Save(a);
    });
    bool whole = false;
    const auto read = ReadAs<ZKW_PtclSysPhys_PntNest>(bytes, &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_NE(read->GetGeometry(), nullptr);
    EXPECT_EQ(read->count.Value(), 4u);
    if (const auto* swarm = dynamic_cast<const ZKW_PtclSysPhys_Swarm*>(read.get()))
      EXPECT_EQ(swarm->fly.vertical.Value(), 30u);
    if (const auto* flow = dynamic_cast<const ZKW_PtclSysPhys_Flow*>(read.get()))
      EXPECT_EQ(flow->flow.scatter.Value(), 30u);
  }
  ZKW_PtclSysPhys_FixedSpots current;
  const std::vector<uint8_t> old = Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSysPhys_FixedSpots", 1);
    a.io().WriteUInt32(2);
    a.io().WriteUInt32(5);
    current.ZKW_PtclSysPhys_LifeEndless::Save(a);
  });
  bool whole = false;
  const auto spots = ReadAs<ZKW_PtclSysPhys_FixedSpots>(old, &whole);
  ASSERT_NE(spots, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(spots->rows.Value(), 2u);
  EXPECT_EQ(spots->columns.Value(), 5u);
  EXPECT_EQ(spots->loopMode.Value(), 0);
}

}  // namespace
