#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/list_limits.h"
#include "core/registry/read_by_name.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/behaviour/physics/point_groups.h"
#include "particles/behaviour/physics/root_point.h"
#include "platform/math/d3dx_math.h"

namespace {

class PointPhysics : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

std::vector<uint8_t> Written(const std::function<void(DS_IOF_Archive&)>& write) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  write(archive);
  return w.TakeBytes();
}

// The physics a record makes; `whole` tells whether it was read to its end without failing.
template <class T>
std::unique_ptr<T> Read(const std::vector<uint8_t>& bytes, bool* whole) {
  ResourceBuffer buffer;
  buffer.SetMemory(bytes.data(), bytes.size());
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  std::unique_ptr<ZKW_IOF_Item> item = ReadByName(archive, GetIofItemRegistry());
  *whole = !archive.Failed() && buffer.Remaining() == 0;
  T* typed = dynamic_cast<T*>(item.get());
  if (typed != nullptr) item.release();
  return std::unique_ptr<T>(typed);
}

ParticleHandle Dying(bool dies) {
  ParticleHandle p(std::make_unique<ParticleRecord>());
  if (dies) AttachTransform<PtclTr_DieOnTimer>(*p, 0.0f);
  return p;
}

TEST_F(PointPhysics, UpdateErasesTheDeadAndKeepsTheOrder) {
  ZKW_PtclSysPhys_ConstPntGroup group;
  for (const bool dies : {false, true, true, false, false})
    group.particles.push_back(Dying(dies));
  const std::vector<ParticleRecord*> survivors = {
      group.particles[0].Get(), group.particles[3].Get(), group.particles[4].Get()};
  EXPECT_TRUE(group.Update(nullptr, 0.1f).empty());
  ASSERT_EQ(group.particles.size(), 3u);
  for (size_t i = 0; i < 3; ++i)
    EXPECT_EQ(group.particles[i].Get(), survivors[i]);
}

TEST_F(PointPhysics, GroupsSpawnPerParentAndDieWithThem) {
  ZKW_PtclSysPhys_ConstPntGroup parents, children;
  parents.particles = {Dying(false), Dying(false)};
  children.count.RawValue() = 3;
  EXPECT_TRUE(children.SpawnForParents(nullptr).empty());
  const ParticleList made = children.SpawnForParents(&parents.particles);
  ASSERT_EQ(made.size(), 6u);
  EXPECT_EQ(children.particles.size(), 6u);
  for (size_t i = 0; i < made.size(); ++i) {
    EXPECT_EQ(made[i]->Parent(), parents.particles[i / 3].Get());
    EXPECT_TRUE(made[i]->Has(ParticleRecord::kDiesWithParent));
  }
  parents.KillAll();
  EXPECT_TRUE(parents.particles.empty());
  children.Update(nullptr, 0.1f);
  EXPECT_TRUE(children.particles.empty()) << "the children die with their killed parents";

  children.count.RawValue() = 0;
  ParticleList one = {Dying(false)};
  EXPECT_TRUE(children.SpawnForParents(&one).empty());
}

TEST_F(PointPhysics, AStoredCountCannotPassTheListLimit) {
  ZKW_PtclSysPhys_ConstPntGroup group;
  group.count.RawValue() = std::numeric_limits<uint32_t>::max();
  ParticleList parents = {Dying(false), Dying(false)};
  EXPECT_EQ(group.SpawnForParents(&parents).size(), kMaxParticlesPerList);
  EXPECT_TRUE(group.SpawnForParents(&parents).empty());
  EXPECT_EQ(group.particles.size(), kMaxParticlesPerList);

  // A host that bounds every load's cost lowers the cap; what is held already stays.
  LowerEmittedParticleCap(8);
  ZKW_PtclSysPhys_ConstPntGroup lowered;
  lowered.count.RawValue() = std::numeric_limits<uint32_t>::max();
  EXPECT_EQ(lowered.SpawnForParents(&parents).size(), 8u);
  EXPECT_TRUE(group.SpawnForParents(&parents).empty());
  LowerEmittedParticleCap(kMaxParticlesPerList);
  EXPECT_EQ(lowered.SpawnForParents(&parents).size(), kMaxParticlesPerList - 8) << "raised back";
}

TEST_F(PointPhysics, RecordsReadBack) {
  ZKW_PtclSysPhys_RootPnt root(D3DXVECTOR3(1, 2, 3));
  root.angle.SetValue(30);
  root.spinDirection.RawValue() = 1;
  root.spinSpeed.SetValue(250);
  root.size.SetValue(150);
  root.translucency.SetValue(20);
  ZKW_PtclSysPhys_ConstPntGroup group;
  group.count.RawValue() = 7;
  group.SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Rect"));
  ZKW_PtclSysPhys_ConstPntGroup bare;

  for (const ZKW_PtclSys_Physics* physics :
       std::initializer_list<const ZKW_PtclSys_Physics*>{&root, &group, &bare}) {
    const std::vector<uint8_t> bytes = Written([&](DS_IOF_Archive& a) { physics->Save(a); });
    bool whole = false;
    const auto read = Read<ZKW_PtclSys_Physics>(bytes, &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_EQ(Written([&](DS_IOF_Archive& a) { read->Save(a); }), bytes);
    EXPECT_EQ(read->GetGeometry() != nullptr, physics->GetGeometry() != nullptr);
  }
  bool whole = false;
  const auto readRoot =
      Read<ZKW_PtclSysPhys_RootPnt>(Written([&](DS_IOF_Archive& a) { root.Save(a); }), &whole);
  ASSERT_NE(readRoot, nullptr);
  EXPECT_FLOAT_EQ(readRoot->size.Scaled(), 1.5f);
  EXPECT_FLOAT_EQ(readRoot->translucency.Scaled(), 0.8f);
  EXPECT_EQ(readRoot->position.Value().z, 3.0f);
  EXPECT_EQ(readRoot->particles.size(), 1u);
}

// A version 1 root point record (no wrapped parameters) with the angle in `format`, over a
// physics part of `physicsVersion`.
std::vector<uint8_t> OldRoot(int32_t format, uint32_t angle, uint32_t physicsVersion) {
  return Written([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    WriteRecordHeader(a, u"ZKW_PtclSysPhys_RootPnt", 1);
    for (const float f : {5.0f, 6.0f, 0.0f})
      io.WriteFloat(f);
    io.WriteInt32(format);
    io.WriteInt32(0);
    io.WriteUInt32(0);
    io.WriteUInt32(angle);
    WriteRecordHeader(a, u"ZKW_PtclSysPhys_Points", 1);
    WriteRecordHeader(a, u"ZKW_PtclSys_Physics", physicsVersion);
    if (physicsVersion >= 2) io.WriteWideString(u"origin");
  });
}

TEST_F(PointPhysics, OlderRecordsRead) {
  struct Case {
    int32_t format;
    uint32_t angle, want, physicsVersion;
  };
  for (const Case& c : {Case{1, 90, 270, 1}, Case{1, 180, 180, 2}, Case{2, 90, 90, 2}}) {
    bool whole = false;
    const auto root =
        Read<ZKW_PtclSysPhys_RootPnt>(OldRoot(c.format, c.angle, c.physicsVersion), &whole);
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(whole) << "physics version " << c.physicsVersion;
    EXPECT_EQ(root->angle.Value(), c.want) << "format " << c.format << ", angle " << c.angle;
    EXPECT_FLOAT_EQ(root->size.Scaled(), 1.0f);
  }
  // The older name of the point group reads as the group.
  const std::vector<uint8_t> cloud = Written([](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSysPhys_PntCloud", 1);
    a.io().WriteUInt32(4);
    ZKW_PtclSysPhys_ConstPntGroup().ZKW_PtclSysPhys_Points::Save(a);
  });
  bool whole = false;
  const auto group = Read<ZKW_PtclSysPhys_ConstPntGroup>(cloud, &whole);
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(group->count.Value(), 4u);
}

TEST_F(PointPhysics, TheRootTurnsSpinsAndKeepsOneParticle) {
  ZKW_PtclSysPhys_RootPnt root(D3DXVECTOR3(10, 0, 0));
  root.angle.SetValue(90);
  root.targetOffset[1] = 5;
  root.Update(nullptr, 1.0f);
  EXPECT_EQ(root.Root().Position(), D3DXVECTOR3(10, 5, 0));
  D3DXMATRIX want;
  D3DXMatrixRotationZ(&want, -root.angle.Radians());
  EXPECT_EQ(root.Root().rotationA, want) << "the fixed angle, counted clockwise";

  root.spinSpeed.SetValue(250);  // 100 degrees a second
  root.Update(nullptr, 0.5f);
  root.Update(nullptr, 0.5f);
  D3DXMatrixRotationZ(&want, 250 * 0.0069813174f - root.angle.Radians());
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR((&root.Root().rotationA._11)[i], (&want._11)[i], 1e-5f);
  root.spinDirection.RawValue() = 1;
  root.Update(nullptr, 1.0f);
  D3DXMatrixRotationZ(&want, -root.angle.Radians());
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR((&root.Root().rotationA._11)[i], (&want._11)[i], 1e-5f) << "spun back";
  root.spinDirection.RawValue() = 0;
  root.Update(nullptr, 1.0f);
  root.spinSpeed.SetValue(0);
  root.Update(nullptr, 1.0f);
  D3DXMatrixRotationZ(&want, -root.angle.Radians());
  EXPECT_EQ(root.Root().rotationA, want) << "speed 0 forgets the spin";

  root.size.modulated = 2.0f;
  root.translucency.modulated = 0.5f;
  root.Update(nullptr, 0.1f);
  EXPECT_EQ(root.Root().floats[ParticleRecord::kScale], 2.0f);
  EXPECT_EQ(root.Root().floats[ParticleRecord::kAlpha], 0.5f);

  ZKW_PtclSysPhys_ConstPntGroup children;
  children.SpawnForParents(&root.particles);
  root.KillAll();
  ASSERT_EQ(root.particles.size(), 1u);
  root.Update(nullptr, 0.1f);
  children.Update(nullptr, 0.1f);
  EXPECT_TRUE(children.particles.empty()) << "the killed root takes its children along";

  // A stored direction is an Int32: values other than 0 and 1 turn without overflowing.
  root.spinSpeed.SetValue(250);
  for (int32_t direction :
       {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
    root.spinDirection.RawValue() = direction;
    root.Update(nullptr, 0.001f);
    EXPECT_TRUE(std::isfinite(root.Root().rotationA._11)) << direction;
  }
}

TEST_F(PointPhysics, EndlessLifeCyclesOverThePeriod) {
  ZKW_PtclSysPhys_LifeEndless endless;
  endless.period.value.SetValue(20);  // 2 s
  ParticleRecord p;
  endless.InitNewParticle(&p);
  EXPECT_TRUE(p.Has(ParticleRecord::kDiesWithParent));
  ASSERT_EQ(p.transforms.size(), 1u);
  p.Update(0.5f);
  EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kLife], 0.25f);
  const std::vector<uint8_t> bytes = Written([&](DS_IOF_Archive& a) { endless.Save(a); });
  ZKW_PtclSysPhys_LifeEndless read;
  ResourceBuffer buffer;
  buffer.SetMemory(bytes.data(), bytes.size());
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  read.ReadBody(archive, ReadBaseHeader(archive));
  EXPECT_EQ(buffer.Remaining(), 0u);
  EXPECT_EQ(read.period.value.Value(), 20u);
}

TEST_F(PointPhysics, DepthSortPutsFarFirstAndNaNLast) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  ParticleList list;
  for (const float z : {1.0f, nan, 3.0f, nan, 2.0f, nan, 0.5f})
    list.push_back(ParticleHandle(std::make_unique<ParticleRecord>(D3DXVECTOR3(0, 0, z))));
  const ParticleHandle parent(std::make_unique<ParticleRecord>(D3DXVECTOR3(0, 0, 10)));
  list.push_back(ParticleHandle(std::make_unique<ParticleRecord>(D3DXVECTOR3(0, 0, -8), parent)));
  list.back()->flags |= ParticleRecord::kRelativeToParent;
  SortParticlesByDepth(list);
  // Depths 3, 2 and 2 (the relative child at -8 under a parent at 10), 1, 0.5, then NaN.
  const float want[] = {3.0f, 2.0f, 2.0f, 1.0f, 0.5f};
  for (size_t i = 0; i < 5; ++i) {
    const ParticleRecord& p = *list[i];
    const float z = p.Position().z + (p.Parent() != nullptr ? p.Parent()->Position().z : 0.0f);
    EXPECT_EQ(z, want[i]) << i;
  }
  for (size_t i = 5; i < list.size(); ++i)
    EXPECT_TRUE(std::isnan(list[i]->Position().z));
}

}  // namespace
