#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "core/list_limits.h"
#include "particles/behaviour/laws/motion_law.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/behaviour/physics/emitting_physics.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Bytes;
using behaviour_test::ExpectRoundTrip;
using behaviour_test::ReadAs;
using behaviour_test::Saved;

class EmittingPhysics : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

ParticleHandle Parent() {
  return ParticleHandle(std::make_unique<ParticleRecord>());
}

struct SlotCase {
  const char* name;
  float delay, duration, pause, emission, dt;
  float count;  // accumulated after the step
  int phase;
  float remaining;
};

TEST_F(EmittingPhysics, AdvanceSlotRunsTheCycle) {
  const SlotCase cases[] = {
      {"default: 10 a second", 0, 1, 0, 10, 0.1f, 1.0f, 1, 0.9f},
      {"delay, emission and pause in one step", 0.5f, 1, 0.5f, 10, 1.75f, 10.0f, 2, 0.25f},
      {"into the next cycle's emission", 0.5f, 1, 0.5f, 10, 2.75f, 12.5f, 1, 0.75f},
      {"duration 0 emits nothing", 0, 0, 1, 10, 0.5f, 0.0f, 2, 0.5f},
      {"a cycle of no length ends the step", 0, 0, 0, 10, 0.5f, 0.0f, 0, 0.0f},
      {"phases of negative length count as none", -1, 0, 1, 10, 0.5f, 0.0f, 2, 0.5f},
      {"a long step over a tiny cycle", 0, 1e-6f, 0, 2, 0.2f, 4e5f, 1, -1.0f},
  };
  for (const SlotCase& c : cases) {
    SCOPED_TRACE(c.name);
    ZKW_PtclSysPhys_SourceFig source;
    source.cycle.delay.RawValue() = c.delay;
    source.cycle.duration.RawValue() = c.duration;
    source.cycle.pause.RawValue() = c.pause;
    source.emission.modulated = c.emission;
    ParticleList parents = {Parent()};
    EXPECT_TRUE(source.SpawnForParents(&parents).empty());
    ASSERT_EQ(source.slots.size(), 1u);
    EmissionSlot& slot = *source.slots.front();
    EXPECT_TRUE(source.AdvanceSlot(slot, c.dt));
    EXPECT_NEAR(slot.count, c.count, 1e-3f * std::max(1.0f, c.count));
    if (c.remaining >= 0.0f) {
      EXPECT_EQ(slot.phase, c.phase);
      EXPECT_NEAR(slot.remaining, c.remaining, 1e-5f);
    }
  }
}

TEST_F(EmittingPhysics, FractionsCarryOverFramesAndPhases) {
  ZKW_PtclSysPhys_SourceFig source;
  source.emission.modulated = 2.5f;  // a count of 5 under a factor of 0.5
  source.cycle.pause.RawValue() = 1.0f;
  ParticleList parents = {Parent()};
  source.SpawnForParents(&parents);
  size_t made = 0;
  for (int frame = 0; frame < 32; ++frame)  // two whole cycles of 2 s
    made += source.Update(nullptr, 0.125f).size();
  EXPECT_EQ(made, 5u);
  for (const ParticleHandle& p : source.particles)
    EXPECT_EQ(p->Parent(), parents[0].Get());
}

TEST_F(EmittingPhysics, ADeadParentsSlotGoesAndItsParticlesStay) {
  ZKW_PtclSysPhys_SourceFig source;
  source.life.value.SetValue(1000);  // 100 s
  ParticleList parents = {Parent(), Parent()};
  source.SpawnForParents(&parents);
  EXPECT_EQ(source.Update(nullptr, 0.5f).size(), 10u);
  parents[0]->flags |= ParticleRecord::kDead;
  EXPECT_EQ(source.Update(nullptr, 0.5f).size(), 5u);
  EXPECT_EQ(source.slots.size(), 1u);
  EXPECT_EQ(source.particles.size(), 15u);
  parents.clear();
  source.KillAll();
  EXPECT_TRUE(source.slots.empty());
}

TEST_F(EmittingPhysics, EmissionStopsAtTheListLimit) {
  ZKW_PtclSysPhys_SourceFig source;
  source.emission.modulated = 4e9f;
  ParticleList parents = {Parent()};
  source.SpawnForParents(&parents);
  EXPECT_EQ(source.Update(nullptr, 0.2f).size(), kMaxParticlesPerList);
  EXPECT_LT(source.slots.front()->count, 1.0f);
}

TEST_F(EmittingPhysics, LifeLimitShortensEveryLifeByTheFullSpread) {
  ZKW_PtclSysPhys_SourceFig source;
  source.life.spread.SetValue(50);
  ParticleRecord p;
  source.InitNewParticle(&p);
  ASSERT_EQ(p.transforms.size(), 1u);
  const auto* age = dynamic_cast<PtclTr_MaxAge*>(p.transforms[0].Get());
  ASSERT_NE(age, nullptr);
  EXPECT_FLOAT_EQ(age->lifetime, 0.5f);
}

// A lattice over the default rectangle with one sweep of the given steps (hundredths).
std::unique_ptr<ZKW_PtclSysPhys_Lattice> Lattice(unsigned stepA, unsigned stepB,
                                                 const char* shape = "ZKW_VGeom2D_Rect") {
  auto lattice = std::make_unique<ZKW_PtclSysPhys_Lattice>();
  lattice->SetGeometry(CreateVGeom2DByName(shape));
  lattice->stepA.SetValue(stepA);
  lattice->stepB.SetValue(stepB);
  EmissionSlot slot;
  slot.parent = Parent();
  slot.count = 1.0f;
  ParticleList none;
  lattice->EmitAccumulated(slot, none);
  EXPECT_TRUE(none.empty());
  return lattice;
}

TEST_F(EmittingPhysics, LatticeSweepsEmitTheirCellsOnTime) {
  {
    SCOPED_TRACE("steps 0 and 0: every cell at once");
    auto lattice = Lattice(0, 0);
    EXPECT_EQ(lattice->Update(nullptr, 0.01f).size(), 25u);
    EXPECT_TRUE(lattice->sweeps.empty());
  }
  {
    SCOPED_TRACE("the defaults: a row every 0.2 s");
    auto lattice = Lattice(0, 20);
    ASSERT_EQ(lattice->sweeps.size(), 1u);
    EXPECT_FLOAT_EQ(lattice->sweeps[0]->duration, 0.8f);
    std::vector<size_t> rows;
    for (int frame = 0; frame < 5; ++frame)
      rows.push_back(lattice->Update(nullptr, 0.25f).size());
    EXPECT_EQ(rows, (std::vector<size_t>{10, 5, 5, 5, 0}));
  }
  {
    SCOPED_TRACE("a key on a window boundary is emitted twice");
    auto lattice = Lattice(0, 25);
    EXPECT_EQ(lattice->Update(nullptr, 0.25f).size(), 10u);
    EXPECT_EQ(lattice->Update(nullptr, 0.25f).size(), 10u);
  }
  {
    SCOPED_TRACE("a shape that is no parametric one emits nothing");
    auto lattice = Lattice(0, 0, "ZKW_VGeom2D_Freeform");
    EXPECT_TRUE(lattice->Update(nullptr, 0.01f).empty());
  }
}

TEST_F(EmittingPhysics, LatticeCellsSitOnTheirCoordinates) {
  auto lattice = Lattice(0, 0);
  lattice->countA.RawValue() = 2;
  lattice->countB.RawValue() = 4;
  lattice->flipA.RawValue() = 1;
  lattice->sweeps[0]->duration = 1.0f;
  const ParticleList made = lattice->Update(nullptr, 0.01f);
  ASSERT_EQ(made.size(), 8u);
  // i (count B) outside, j (count A) inside; A is flipped.
  EXPECT_FLOAT_EQ(made[0]->vectors[ParticleRecord::kSurface].x, 0.125f);
  EXPECT_FLOAT_EQ(made[0]->vectors[ParticleRecord::kSurface].y, 0.75f);
  EXPECT_FLOAT_EQ(made[7]->vectors[ParticleRecord::kSurface].x, 0.875f);
  EXPECT_FLOAT_EQ(made[7]->vectors[ParticleRecord::kSurface].y, 0.25f);
  D3DXVECTOR3 expected;
  float uv[2] = {0.875f, 0.25f};
  lattice->GetGeometry()->PointAt(uv, &expected, nullptr);
  EXPECT_EQ(made[7]->Position(), expected);
}

TEST_F(EmittingPhysics, ALatticeOfNoCellsStartsNoSweeps) {
  ZKW_PtclSysPhys_Lattice lattice;
  lattice.countA.RawValue() = 0;
  EmissionSlot slot;
  slot.parent = Parent();
  slot.count = 3.5f;
  ParticleList none;
  lattice.EmitAccumulated(slot, none);
  EXPECT_TRUE(lattice.sweeps.empty());
  EXPECT_FLOAT_EQ(slot.count, 0.5f);
}

TEST_F(EmittingPhysics, AFigureSourceWithoutALawIsNoLaw) {
  ZKW_PtclSysPhys_SourceFig source;
  EXPECT_FALSE(source.law);
  EXPECT_FALSE(source.NeedsDepthSort());
  ParticleRecord p;
  source.InitNewParticle(&p);
  EXPECT_EQ(p.transforms.size(), 1u);
  bool whole = false;
  const auto read = ReadAs<ZKW_PtclSysPhys_SourceFig>(Saved(source), &whole);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_FALSE(read->law);
}

TEST_F(EmittingPhysics, RecordsReadBack) {
  ZKW_PtclSysPhys_SourceFig source;
  source.SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Rect"));
  auto vector = std::make_unique<ZKW_PtclSysMLaw_Vector>();
  vector->direction.SetValue(90);
  source.law = DS_SafePtr<ZKW_PtclSys_MotionLaw>(std::move(vector));
  source.emission.SetValue(33);
  source.cycle.delay.RawValue() = 0.25f;
  source.cycle.pause.RawValue() = 0.5f;
  source.cycle.mode.RawValue() = 3;
  source.life.value.SetValue(40);
  ZKW_PtclSysPhys_Lattice lattice;
  lattice.countA.RawValue() = 7;
  lattice.flipB.RawValue() = 1;
  lattice.stepA.SetValue(5);
  for (const ZKW_PtclSys_Physics* physics :
       std::initializer_list<const ZKW_PtclSys_Physics*>{&source, &lattice}) {
    ExpectRoundTrip<ZKW_PtclSys_Physics>(*physics);
  }
}

// The life-limit and points records that end every source record.
void WriteLifeTail(DS_IOF_Archive& a) {
  ZKW_PtclSysPhys_LifeLimit().Save(a);
}

// A figure source of version `figVersion` (version 1 holds a rectangle first) over a Vector law
// and a source body of `sourceVersion` with emission count 7.
std::vector<uint8_t> OldSource(uint32_t figVersion, uint32_t sourceVersion) {
  return Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    WriteRecordHeader(a, u"ZKW_PtclSysPhys_SourceFig", figVersion);
    if (figVersion < 2) CreateVGeom2DByName("ZKW_VGeom2D_Rect")->Save(a);
    ZKW_PtclSysMLaw_Vector().Save(a);
    WriteRecordHeader(a, u"ZKW_PtclSysPhys_Source", sourceVersion);
    GraphSpreadPrm count{7, 1.0f};
    WriteGraphSpreadPrm(a, count);
    if (sourceVersion == 3) {
      io.WriteInt32(2);
      io.WriteInt32(4);
      for (const float f : {2.0f, 0.5f, 0.25f})
        io.WriteFloat(f);
    } else if (sourceVersion == 2) {
      io.WriteFloat(2.0f);
      io.WriteFloat(0.5f);
      io.WriteInt32(4);
    } else {
      io.WriteFloat(2.0f);
    }
    WriteLifeTail(a);
  });
}

TEST_F(EmittingPhysics, OlderSourceRecordsRead) {
  for (const uint32_t version : {0u, 1u, 2u, 3u}) {
    SCOPED_TRACE(version);
    bool whole = false;
    const auto read = ReadAs<ZKW_PtclSysPhys_SourceFig>(OldSource(2, version), &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_EQ(read->emission.Value(), 7u);
    EXPECT_FLOAT_EQ(read->cycle.duration.Value(), 2.0f);
    EXPECT_FLOAT_EQ(read->cycle.pause.Value(), version >= 2 ? 0.5f : 0.0f);
    EXPECT_FLOAT_EQ(read->cycle.delay.Value(), version == 3 ? 0.25f : 0.0f);
    EXPECT_EQ(read->cycle.mode.Value(), version >= 2 ? 4 : 0);
    EXPECT_NE(dynamic_cast<ZKW_PtclSysMLaw_Vector*>(read->law.Get()), nullptr);
  }
  bool whole = false;
  const auto withShape = ReadAs<ZKW_PtclSysPhys_SourceFig>(OldSource(1, 3), &whole);
  ASSERT_NE(withShape, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_NE(withShape->GetGeometry(), nullptr);
}

TEST_F(EmittingPhysics, AVersionOneLatticeHoldsItsShapeFirst) {
  ZKW_PtclSysPhys_Lattice current;
  current.countB.RawValue() = 3;
  const std::vector<uint8_t> bytes = Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSysPhys_Lattice", 1);
    CreateVGeom2DByName("ZKW_VGeom2D_Rect")->Save(a);
    for (const uint32_t u : {5u, 3u, 0u, 1u, 0u, 20u})
      a.io().WriteUInt32(u);
    current.ZKW_PtclSysPhys_Source::Save(a);
  });
  bool whole = false;
  const auto read = ReadAs<ZKW_PtclSysPhys_Lattice>(bytes, &whole);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_NE(read->GetGeometry(), nullptr);
  EXPECT_EQ(read->countB.Value(), 3u);
  EXPECT_EQ(read->flipB.Value(), 1);
  EXPECT_FLOAT_EQ(read->stepB.Scaled(), 0.2f);
}

}  // namespace
