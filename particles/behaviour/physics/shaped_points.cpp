#include "particles/behaviour/physics/shaped_points.h"

#include <algorithm>
#include <memory>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "particles/behaviour/particle/motion_transforms.h"
#include "particles/behaviour/particle/swarm_transforms.h"

namespace {

// Installs a shape record as the physics' shape (a class no registry holds leaves it).
void ReadShape(DS_IOF_Archive& archive, ZKW_PtclSys_Physics& physics) {
  if (std::unique_ptr<ZKW_VGeom2D> shape = ReadVGeom2D(archive))
    physics.SetGeometry(std::move(shape));
}

}  // namespace

bool ZKW_PtclSysPhys_PntNest::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_PntNest", 2);
  return ZKW_PtclSysPhys_ConstPntGroup::Save(archive);
}

void ZKW_PtclSysPhys_PntNest::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version < 2) ReadShape(archive, *this);
  ZKW_PtclSysPhys_ConstPntGroup::ReadBody(archive, ReadBaseHeader(archive));
}

template <class ReadBlock>
void ZKW_PtclSysPhys_PntNest::ReadShapedBody(DS_IOF_Archive& archive, uint32_t version,
                                             ReadBlock&& readBlock) {
  if (version < 2) {
    ReadShape(archive, *this);
    readBlock();
    ZKW_PtclSysPhys_ConstPntGroup::ReadBody(archive, ReadBaseHeader(archive));
  } else {
    readBlock();
    ZKW_PtclSysPhys_PntNest::ReadBody(archive, ReadBaseHeader(archive));
  }
}

void ZKW_PtclSysPhys_PntNest::InitNewParticle(ParticleRecord* particle) {
  const ZKW_VGeom2D* shape = GetGeometry();
  if (shape == nullptr) return;
  D3DXVECTOR3& surface = particle->vectors[ParticleRecord::kSurface];
  float uv[2] = {surface.x, surface.y};
  shape->RandomPoint(&particle->Position(), uv);
  surface.x = uv[0];
  surface.y = uv[1];
}

bool ZKW_PtclSysPhys_Swarm::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_Swarm", 2);
  WriteRandomFlyPrm(archive, fly);
  return ZKW_PtclSysPhys_PntNest::Save(archive);
}

void ZKW_PtclSysPhys_Swarm::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadShapedBody(archive, version, [&] { ReadRandomFlyPrm(archive, fly); });
}

void ZKW_PtclSysPhys_Swarm::InitNewParticle(ParticleRecord* particle) {
  ZKW_PtclSysPhys_PntNest::InitNewParticle(particle);
  const D3DXVECTOR3 velocity = RandomFlyVelocity();
  AttachTransform<PtclTr_RandomFly>(*particle, GetGeometry(), &fly, velocity,
                                    PtclTr_RandomFly::DrawRetargetTime(fly));
}

bool ZKW_PtclSysPhys_Flow::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_Flow", 2);
  WriteFlowPrm(archive, flow);
  return ZKW_PtclSysPhys_PntNest::Save(archive);
}

void ZKW_PtclSysPhys_Flow::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadShapedBody(archive, version, [&] { ReadFlowPrm(archive, flow); });
}

void ZKW_PtclSysPhys_Flow::InitNewParticle(ParticleRecord* particle) {
  ZKW_PtclSysPhys_PntNest::InitNewParticle(particle);
  const float speedRandom = crt_rand_unit();
  const float scatterRandom = crt_rand_unit();
  AttachTransform<PtclTr_Flow>(*particle, GetGeometry(), &flow, speedRandom, scatterRandom);
}

bool ZKW_PtclSysPhys_FixedSpots::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_FixedSpots", 2);
  archive.io().WriteUInt32(rows.Value());
  archive.io().WriteUInt32(columns.Value());
  archive.io().WriteInt32(loopMode.Value());
  WriteLoopPrm(archive, loop);
  return ZKW_PtclSysPhys_LifeEndless::Save(archive);
}

void ZKW_PtclSysPhys_FixedSpots::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadUInt32(rows.RawValue());
  archive.io().ReadUInt32(columns.RawValue());
  if (version >= 2) {
    archive.io().ReadInt32(loopMode.RawValue());
    ReadLoopPrm(archive, loop);
  }
  ZKW_PtclSysPhys_LifeEndless::ReadBody(archive, ReadBaseHeader(archive));
}

ParticleList ZKW_PtclSysPhys_FixedSpots::SpawnForParents(ParticleList* parents) {
  const ZKW_VGeom2D* shape = GetGeometry();
  if (parents == nullptr || shape == nullptr || !shape->IsParametric()) return {};
  const uint64_t columnCount = columns.Value(), rowCount = rows.Value();
  const uint64_t cap = EmittedParticleCap();
  const uint64_t room = particles.size() < cap ? cap - particles.size() : 0;
  ParticleList made;
  made.reserve(
      static_cast<size_t>(std::min<uint64_t>(room, parents->size() * columnCount * rowCount)));
  for (const ParticleHandle& parent : *parents) {
    for (uint64_t i = 0; i < columnCount && made.size() < room; ++i) {
      const float u =
          (2.0f * static_cast<float>(i) + 1.0f) * 0.5f / static_cast<float>(columnCount);
      for (uint64_t j = 0; j < rowCount && made.size() < room; ++j) {
        const float v = (2.0f * static_cast<float>(j) + 1.0f) * 0.5f / static_cast<float>(rowCount);
        ParticleHandle spot = MakeChildParticle(parent);
        InitNewParticle(spot.Get());
        D3DXVECTOR3& surface = spot->vectors[ParticleRecord::kSurface];
        surface.x = u;
        surface.y = v;
        float uv[2] = {u, v};
        shape->PointAt(uv, &spot->Position(), nullptr);
        if (loopMode.Value() == 1)
          AttachTransform<PtclTr_Loop>(*spot, shape, u, v, &loop, crt_rand_unit());
        made.push_back(std::move(spot));
      }
    }
  }
  particles.insert(particles.end(), made.begin(), made.end());
  return made;
}
