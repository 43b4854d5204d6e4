#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "core/archive/ds_iof_r.h"
#include "core/archive/resource_buffer.h"
#include "core/crt_rand.h"
#include "particles/behaviour/particle/oscillation_transforms.h"
#include "particles/behaviour/sources/zkw_ptclsys_geometry.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Saved;

TEST(SourceGeometry, AtlasCellsFollowTheGrid) {
  ZKW_PtclSys_Geometry geometry;
  const ParticleHandle one = geometry.NewParticle(nullptr);
  EXPECT_FLOAT_EQ(one->presetCell[0], 1.0f);
  EXPECT_FLOAT_EQ(one->presetCell[1], 1.0f);
  EXPECT_FLOAT_EQ(one->presetCell[2], 0.0f);
  EXPECT_FLOAT_EQ(one->presetCell[3], 0.0f);

  geometry.SetAtlasGrid(4, 2);
  std::set<float> lefts, tops;
  for (int i = 0; i < 200; ++i) {
    const ParticleHandle p = geometry.NewParticle(nullptr);
    EXPECT_FLOAT_EQ(p->presetCell[0], 0.25f);
    EXPECT_FLOAT_EQ(p->presetCell[1], 0.5f);
    lefts.insert(p->presetCell[2]);
    tops.insert(p->presetCell[3]);
  }
  EXPECT_EQ(lefts, (std::set<float>{0.0f, 0.25f, 0.5f, 0.75f}));
  EXPECT_EQ(tops, (std::set<float>{0.0f, 0.5f}));

  geometry.SetAtlasGrid(0, -3);  // counts as 1 x 1
  EXPECT_FLOAT_EQ(geometry.NewParticle(nullptr)->presetCell[0], 1.0f);
}

TEST(SourceGeometry, InitParticleDrawsInItsOrder) {
  ZKW_PtclSys_Geometry geometry;
  geometry.SetAtlasGrid(4, 2);
  ParticleRecord p;
  p.transforms.clear();
  crt_srand(77);
  geometry.InitParticle(p);

  crt_srand(77);
  const int column = crt_rand() % 4;
  const int row = crt_rand() % 2;
  EXPECT_FLOAT_EQ(p.presetCell[2], column / 4.0f);
  EXPECT_FLOAT_EQ(p.presetCell[3], row / 2.0f);
  ASSERT_EQ(p.transforms.size(), 7u);
  EXPECT_NE(dynamic_cast<PtclTr_JitterCtrl*>(p.transforms[0].Get()), nullptr);
  EXPECT_NE(dynamic_cast<PtclTr_JitterUpdater*>(p.transforms[1].Get()), nullptr);
  const int slots[] = {1, 2, 3, 4};
  for (int i = 0; i < 4; ++i) {
    auto* o = dynamic_cast<PtclTr_Oscilator*>(p.transforms[2 + i].Get());
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->harmonic.k, slots[i]);
    EXPECT_FLOAT_EQ(o->harmonic.phase, crt_rand_unit() * 6.2831855f) << i;
    const int n = crt_rand() % 32767;
    EXPECT_EQ(o->perlin.seed, n * n + 2) << i;
  }
  auto* spin = dynamic_cast<PtclTr_StandardSpin*>(p.transforms[6].Get());
  ASSERT_NE(spin, nullptr);
  EXPECT_FLOAT_EQ(spin->angleRandom, crt_rand_unit() * 2.0f - 1.0f);
  EXPECT_FLOAT_EQ(spin->speedRandom, crt_rand_unit());
  EXPECT_EQ(spin->spinSign, crt_rand() % 2 != 0 ? 1 : -1);
  EXPECT_FLOAT_EQ(spin->spinAngle, 0.0f);
}

TEST(SourceGeometry, NewParticlesStartAtThePositionWithTheSizeOfTheGeometry) {
  ZKW_PtclSys_Geometry geometry;
  geometry.position.SetValue(D3DXVECTOR3(3, 4, 5));
  const ParticleHandle parent(std::make_unique<ParticleRecord>());
  const ParticleHandle p = geometry.NewParticle(&parent);
  EXPECT_EQ(p->Parent(), parent.Get());
  EXPECT_FLOAT_EQ(p->Position().x, 3.0f);
  EXPECT_FLOAT_EQ(p->Position().z, 5.0f);
  ASSERT_EQ(geometry.particles.size(), 1u);
  // A new geometry's size is 0 %.
  geometry.UpdateParticles(0.1f);
  EXPECT_FLOAT_EQ(p->floats[ParticleRecord::kScale], 0.0f);
  geometry.size.value.SetValue(100);
  geometry.UpdateParticles(0.1f);
  EXPECT_FLOAT_EQ(p->floats[ParticleRecord::kScale], 1.0f);
  EXPECT_FLOAT_EQ(p->floats[ParticleRecord::kAlpha], 1.0f);
}

TEST(SourceGeometry, UpdateDropsTheDeadAndKeepsTheOrder) {
  ZKW_PtclSys_Geometry geometry;
  for (int i = 0; i < 5; ++i)
    geometry.NewParticle(nullptr);
  const ParticleList all = geometry.particles;
  // Particles 1 and 2 (adjacent) and 4 die.
  for (int i : {1, 2, 4})
    AttachTransform<PtclTr_MaxAge>(*all[i], 0.0f);
  geometry.UpdateParticles(0.1f);
  ASSERT_EQ(geometry.particles.size(), 2u);
  EXPECT_EQ(geometry.particles[0].Get(), all[0].Get());
  EXPECT_EQ(geometry.particles[1].Get(), all[3].Get());
  for (const ParticleHandle& p : geometry.particles)
    AttachTransform<PtclTr_MaxAge>(*p, 0.0f);
  geometry.UpdateParticles(0.1f);
  EXPECT_TRUE(geometry.particles.empty());
  geometry.ClearParticles();
  EXPECT_TRUE(geometry.particles.empty());
}

TEST(SourceGeometry, BaseRecordRoundTrips) {
  ZKW_PtclSys_Geometry written;
  written.name = u"stars";
  written.position.SetValue(D3DXVECTOR3(1, -2, 3));
  written.size.value.SetValue(120);
  written.size.spread.SetValue(30);
  written.sizeOscillation.mode.SetValue(1);
  written.translucencyOscillation.frequency.SetValue(7);
  written.translucency.value.SetValue(25);
  written.translucency.jitter.SetValue(10);
  written.sizeEnvelope.values[1].SetValue(20);
  written.translucencyEnvelope.values[5].SetValue(40);
  written.alongOscillation.amplitude.SetValue(9);
  written.acrossOscillation.mode.SetValue(2);
  written.spin.mode.SetValue(2);
  written.spin.angle.value.SetValue(45);
  const std::vector<uint8_t> bytes = Saved(written);

  ResourceBuffer buffer;
  buffer.SetMemory(bytes.data(), bytes.size());
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  ZKW_PtclSys_Geometry read;
  ReadGeometryBasePart(archive, read);
  EXPECT_FALSE(archive.Failed());
  EXPECT_EQ(buffer.Remaining(), 0u);
  EXPECT_EQ(Saved(read), bytes);
  EXPECT_FLOAT_EQ(read.size.value.Scaled(), 1.2f);
  EXPECT_FLOAT_EQ(read.translucency.value.Scaled(), 0.75f);
  EXPECT_FLOAT_EQ(read.alongOscillation.amplitude.Scaled(), 9.0f);

  // A new geometry: the offset oscillations default to 50 units.
  EXPECT_FLOAT_EQ(ZKW_PtclSys_Geometry().acrossOscillation.amplitude.Scaled(), 50.0f);
}

}  // namespace
