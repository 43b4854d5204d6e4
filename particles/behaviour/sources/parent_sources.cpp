#include "particles/behaviour/sources/parent_sources.h"

#include <algorithm>
#include <memory>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "particles/behaviour/particle/oscillation_transforms.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/behaviour/particle/swarm_transforms.h"
#include "particles/behaviour/sources/emitter_geometry.h"
#include "particles/behaviour/sources/swarm_motion.h"
#include "platform/math/d3dx_math.h"

namespace {

// How many of `wanted` new particles fit beside `held` under the ceiling.
uint64_t Room(uint64_t wanted, size_t held) {
  const uint64_t cap = EmittedParticleCap();
  const uint64_t room = held < cap ? cap - held : 0;
  return std::min(wanted, room);
}

constexpr uint32_t kTiedFlags = ParticleRecord::kRelativeToParent | ParticleRecord::kDiesWithParent;

}  // namespace

// Point.

bool ZKW_PSGeometry_Point::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeometry_Point", 1);
  return ZKW_PtclSys_Geometry::Save(archive);
}

void ZKW_PSGeometry_Point::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadGeometryBasePart(archive, *this);
}

ParticleList ZKW_PSGeometry_Point::SpawnForParent(ParticleHandle parent) {
  ParticleHandle p = NewParticle(&parent);
  if (parent) AttachTransform<PtclTr_InheritAge>(*p);
  AttachTransform<PtclTr_AgeTransform>(*p, ParticleRecord::kScale, &sizeEnvelope);
  AttachTransform<PtclTr_AgeTransform>(*p, ParticleRecord::kAlpha, &translucencyEnvelope);
  AttachTransform<PtclTr_InheritVectorPrm>(*p, ParticleRecord::kDirection);
  p->flags |= kTiedFlags;
  return {p};
}

// Swarm.

bool ZKW_PSGeometry_Swarm::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeometry_Swarm", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(count.Value());
  io.WriteUInt32(speed.Value());
  io.WriteUInt32(retargetRate.Value());
  io.WriteUInt32(travelTime.Value());
  io.WriteUInt32(width.Value());
  io.WriteUInt32(height.Value());
  return ZKW_PtclSys_Geometry::Save(archive);
}

void ZKW_PSGeometry_Swarm::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(count.RawValue());
  ReadChangedUInt32(archive, speed);
  ReadChangedUInt32(archive, retargetRate);
  ReadChangedUInt32(archive, travelTime);
  io.ReadUInt32(width.RawValue());
  io.ReadUInt32(height.RawValue());
  ReadGeometryBasePart(archive, *this);
}

ParticleList ZKW_PSGeometry_Swarm::SpawnForParent(ParticleHandle parent) {
  const uint64_t n = Room(count.Value(), particles.size());
  const float w = static_cast<float>(width.Value());
  const float h = static_cast<float>(height.Value());
  ParticleList made;
  for (uint64_t i = 0; i < n; ++i) {
    ParticleHandle p = NewParticle(&parent);
    p->Position().x += crt_rand_unit() * w - w / 2.0f;
    p->Position().y += crt_rand_unit() * h - h / 2.0f;
    const D3DXVECTOR3 velocity = RandomFlyVelocity();
    const float rate = retargetRate.Scaled();
    const float retarget = crt_rand_unit() * (1.5f - 0.5f) / rate + 0.5f / rate;
    AttachTransform<PtclTr_Brownian>(*p, this, velocity, retarget);
    p->flags |= kTiedFlags;
    made.push_back(std::move(p));
  }
  return made;
}

// Trace.

bool ZKW_PSGeometry_Trace::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeometry_Trace", 1);
  return ZKW_PtclSys_Geometry::Save(archive);
}

void ZKW_PSGeometry_Trace::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadGeometryBasePart(archive, *this);
}

ParticleList ZKW_PSGeometry_Trace::Emit(float, ParticleHandle* parent) {
  if (parent == nullptr || !*parent) return {};
  const ParticleRecord& owner = **parent;
  const D3DXVECTOR3 at = ParentAnchor(owner);
  D3DXVECTOR3 heading;
  D3DXVec3Normalize(&heading, &owner.vectors[ParticleRecord::kVelocity]);
  float distance = 0.0f;
  if (particles.size() >= 2) {
    const D3DXVECTOR3 gap = at - particles[particles.size() - 2]->Position();
    distance = D3DXVec3Length(&gap);
    if (distance < 10.0f) {
      ParticleRecord& head = *particles.back();
      head.Position() = at;
      head.vectors[ParticleRecord::kDirection] = heading;
      head.presetCell[0] = distance;
      return {};
    }
  }
  if (particles.size() >= EmittedParticleCap()) return {};
  ParticleHandle p = MakeChildParticle(ParticleHandle());
  AttachTransform<PtclTr_MaxAge>(*p, 2.0f);
  p->Position() = at;
  p->vectors[ParticleRecord::kDirection] = heading;
  p->presetCell[0] = distance;
  particles.push_back(p);
  return {p};
}

// Source and group.

bool ZKW_PtclSys_Source::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSys_Source", 1);
  if (const ZKW_VFigure* shape = figure.Figure()) shape->Save(archive);
  return ZKW_PtclSys_Geometry::Save(archive);
}

void ReadSourcePart(DS_IOF_Archive& archive, ZKW_PtclSys_Source& source) {
  ReadBaseHeader(archive);
  // An unknown figure class yields nothing: the source keeps a usable figure.
  if (std::unique_ptr<ZKW_VFigure> shape = ReadVFigure(archive))
    source.figure.SetFigure(DS_SafePtr<ZKW_VFigure>(std::move(shape)), nullptr);
  ReadGeometryBasePart(archive, source);
}

bool ZKW_PSSource_Group::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSSource_Group", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(rows.Value());
  io.WriteUInt32(columns.Value());
  io.WriteInt32(randomPlacement.Value());
  io.WriteUInt32(rowPhase.Value());
  io.WriteUInt32(columnPhase.Value());
  return ZKW_PtclSys_Source::Save(archive);
}

void ZKW_PSSource_Group::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(rows.RawValue());
  io.ReadUInt32(columns.RawValue());
  io.ReadInt32(randomPlacement.RawValue());
  ReadChangedUInt32(archive, rowPhase);
  ReadChangedUInt32(archive, columnPhase);
  ReadSourcePart(archive, *this);
}

ParticleList ZKW_PSSource_Group::SpawnForParent(ParticleHandle parent) {
  const unsigned r = rows.Value();
  const unsigned c = columns.Value();
  const uint64_t n = Room(uint64_t{r} * c, particles.size());
  ParticleList made;
  for (uint64_t i = 0; i < n; ++i) {
    const auto index = static_cast<unsigned>(i);
    currentPhase = static_cast<float>(index / c) * rowPhase.Scaled() / static_cast<float>(r) +
                   static_cast<float>(index % c) * columnPhase.Scaled() / static_cast<float>(c);
    ParticleHandle p = NewParticle(&parent);
    if (ZKW_VFigure* shape = figure.Figure()) {
      if (randomPlacement.Value() != 0) {
        p->Position() = position.Value();
        shape->AddRandomPoint(&p->Position());
      } else {
        D3DXVECTOR3 cell;
        shape->GridPoint(&cell, index, r, c);
        p->Position() += cell;
      }
    }
    p->flags |= kTiedFlags;
    made.push_back(std::move(p));
  }
  return made;
}

void ZKW_PSSource_Group::InitParticle(ParticleRecord& particle) {
  InitParticleWithPhase(particle, &currentPhase);
}
