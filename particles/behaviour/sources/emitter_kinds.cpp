#include "particles/behaviour/sources/emitter_kinds.h"

#include <cmath>
#include <memory>

#include "core/archive/vector_io.h"
#include "core/crt_rand.h"
#include "core/math/random_direction.h"
#include "core/param/param_reads.h"
#include "geometry/figure/zkw_vfigure_rect.h"
#include "particles/behaviour/particle/force_transforms.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/behaviour/particle/stream_transforms.h"
#include "platform/math/d3dx_math.h"

namespace {

constexpr float kDegreesToRadians = 0.017453292f;

// The parent's rotation, identity without a parent.
D3DXMATRIX ParentRotation(const ParticleHandle* parent) {
  if (parent != nullptr && parent->Get() != nullptr) return (*parent)->rotationA;
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  return identity;
}

D3DXVECTOR3 TurnDirection(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
  D3DXVECTOR3 out;
  D3DXVec3TransformNormal(&out, &v, &m);
  return out;
}

// A unit direction within the sector: spread / 2 on either side of its direction.
D3DXVECTOR3 SectorDirection(const MediaSector& sector) {
  const float direction = static_cast<float>(sector.Value());
  const float half = static_cast<float>(sector.spread.Value()) * 0.5f;
  D3DXVECTOR3 out;
  RandomDirection2D(&out, 1.0f, direction - half, direction + half);
  return out;
}

// The old records' three UInt32 of a sector figure.
void ReadSectorFigure(DS_IOF_Archive& archive, ZKW_CustomFigure& figure) {
  uint32_t direction = 0, spread = 0, radius = 0;
  archive.io().ReadUInt32(direction);
  archive.io().ReadUInt32(spread);
  archive.io().ReadUInt32(radius);
  figure.MakeSectorFigure(direction, spread, radius);
}

void AddForcedMotion(ZKW_PSGeometry_Emitter& emitter, ParticleRecord& p, const ForcesPrm& forces) {
  AttachTransform<PtclTr_StandardForces>(p, &forces, &emitter.size);
  AttachTransform<PtclTr_Kinematic>(p);
}

}  // namespace

void ReadSector(DS_IOF_Archive& archive, MediaSector& sector) {
  archive.io().ReadUInt32(sector.RawValue());
  archive.io().ReadUInt32(sector.spread.RawValue());
  sector.Recompute();
}

void WriteSector(DS_IOF_Archive& archive, const MediaSector& sector) {
  archive.io().WriteUInt32(sector.Value());
  archive.io().WriteUInt32(sector.spread.Value());
}

// Point.

bool ZKW_PSGeomEmit_Point::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeomEmit_Point", 3);
  archive.io().WriteInt32(figureSpin.Value());
  WriteForcesPrm(archive, forces);
  archive.io().WriteInt32(reverse.Value());
  return ZKW_PSGeometry_Emitter::Save(archive);
}

void ZKW_PSGeomEmit_Point::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version < 2) ReadSectorFigure(archive, figure);
  archive.io().ReadInt32(figureSpin.RawValue());
  ReadForcesPrm(archive, forces);
  if (version > 2)
    archive.io().ReadInt32(reverse.RawValue());
  else
    reverse.RawValue() = 0;
  ReadEmitterPart(archive, *this);
}

ParticleList ZKW_PSGeomEmit_Point::Emit(float dt, ParticleHandle* parent) {
  ParticleList made = EmitCore(dt, parent);
  const D3DXMATRIX turn = ParentRotation(parent);
  for (ParticleHandle& p : made) {
    D3DXVECTOR3 offset(0, 0, 0), direction(1, 0, 0);
    if (ZKW_VFigure* shape = figure.Figure())
      shape->EmitPointAndDirection(&offset, &direction, figureSpin.Value() == 1);
    direction *= 1.0f - 2.0f * static_cast<float>(reverse.Value());
    p->Position() += TurnDirection(offset, turn);
    direction = TurnDirection(direction, turn);
    p->Velocity() = direction * DrawSpeed();
    AddForcedMotion(*this, *p, forces);
    AddEnvelopeMultipliers(*p, parent != nullptr ? parent->Get() : nullptr);
  }
  return Keep(std::move(made));
}

// Circular.

ZKW_PSGeomEmit_Circular::ZKW_PSGeomEmit_Circular() {
  radialSpeed.value.SetScale(1.0f, 0.0f);
}

bool ZKW_PSGeomEmit_Circular::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeomEmit_Circular", 2);
  archive.io().WriteInt32(rotationMode.Value());
  archive.io().WriteUInt32(radialSpeed.value.Value());
  archive.io().WriteUInt32(radialSpeed.jitter.Value());
  archive.io().WriteInt32(radialMode.Value());
  return ZKW_PSGeometry_Emitter::Save(archive);
}

void ZKW_PSGeomEmit_Circular::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadInt32(rotationMode.RawValue());
  if (version > 1) {
    ReadChangedUInt32(archive, radialSpeed.value);
    ReadChangedUInt32(archive, radialSpeed.jitter);
    archive.io().ReadInt32(radialMode.RawValue());
  } else {
    radialSpeed.value.SetValue(0);
    radialMode.RawValue() = 0;
  }
  ReadEmitterPart(archive, *this);
}

ParticleList ZKW_PSGeomEmit_Circular::Emit(float dt, ParticleHandle* parent) {
  ParticleList made = EmitCore(dt, parent);
  const D3DXMATRIX turn = ParentRotation(parent);
  for (ParticleHandle& p : made) {
    const float r = crt_rand_unit();
    const int sign = crt_rand() % 2 != 0 ? -1 : 1;
    const D3DXVECTOR3 centre = p->Position();
    auto* circular = AttachTransform<PtclTr_Circular>(*p, r, sign, centre, &speed, &rotationMode);
    AttachTransform<PtclTr_Radial>(*p, r, centre, &radialSpeed, &radialMode);
    D3DXVECTOR3 offset(0, 0, 0);
    if (ZKW_VFigure* shape = figure.Figure()) shape->AddRandomPoint(&offset);
    p->Position() += TurnDirection(offset, turn);
    circular->Apply(0.0f, p.Get());
    D3DXVECTOR3 direction;
    D3DXVec3Normalize(&direction, &p->Velocity());
    p->vectors[ParticleRecord::kDirection] = direction;
    AddEnvelopeMultipliers(*p, parent != nullptr ? parent->Get() : nullptr);
  }
  return Keep(std::move(made));
}

// Sector.

bool ZKW_PSGeomEmit_Sector::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeomEmit_Sector", 2);
  WriteSector(archive, sector);
  WriteForcesPrm(archive, forces);
  return ZKW_PSGeometry_Emitter::Save(archive);
}

void ZKW_PSGeomEmit_Sector::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version < 2) ReadSectorFigure(archive, figure);
  ReadSector(archive, sector);
  ReadForcesPrm(archive, forces);
  ReadEmitterPart(archive, *this);
}

ParticleList ZKW_PSGeomEmit_Sector::Emit(float dt, ParticleHandle* parent) {
  ParticleList made = EmitCore(dt, parent);
  const D3DXMATRIX turn = ParentRotation(parent);
  for (ParticleHandle& p : made) {
    const D3DXVECTOR3 direction = TurnDirection(SectorDirection(sector), turn);
    if (ZKW_VFigure* shape = figure.Figure()) shape->AddRandomPoint(&p->Position());
    p->Velocity() = direction * DrawSpeed();
    AddForcedMotion(*this, *p, forces);
    AddEnvelopeMultipliers(*p, parent != nullptr ? parent->Get() : nullptr);
  }
  return Keep(std::move(made));
}

// Rect.

bool ZKW_PSGeomEmit_Rect::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeomEmit_Rect", 3);
  WriteSector(archive, sector);
  WriteForcesPrm(archive, forces);
  archive.io().WriteInt32(directionFromFigure.Value());
  return ZKW_PSGeometry_Emitter::Save(archive);
}

void ZKW_PSGeomEmit_Rect::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version < 2) {
    auto rect = std::make_unique<ZKW_VFigure_Rect>();
    archive.io().ReadUInt32(rect->width.RawValue());
    archive.io().ReadUInt32(rect->height.RawValue());
    figure.SetFigure(DS_SafePtr<ZKW_VFigure>(std::move(rect)), nullptr);
  }
  ReadSector(archive, sector);
  ReadForcesPrm(archive, forces);
  if (version > 2)
    archive.io().ReadInt32(directionFromFigure.RawValue());
  else
    directionFromFigure.RawValue() = 0;
  ReadEmitterPart(archive, *this);
}

ParticleList ZKW_PSGeomEmit_Rect::Emit(float dt, ParticleHandle* parent) {
  ParticleList made = EmitCore(dt, parent);
  const D3DXMATRIX turn = ParentRotation(parent);
  for (ParticleHandle& p : made) {
    D3DXVECTOR3 direction(1, 0, 0);
    ZKW_VFigure* shape = figure.Figure();
    if (directionFromFigure.Value() != 0) {
      if (shape != nullptr) shape->EmitPointAndDirection(&p->Position(), &direction, false);
      const float degrees = static_cast<float>(sector.Value()) - 360.0f +
                            static_cast<float>(sector.spread.Value()) * (crt_rand_unit() - 0.5f);
      D3DXMATRIX about;
      D3DXMatrixRotationZ(&about, degrees * kDegreesToRadians);
      direction = TurnDirection(direction, about);
    } else {
      if (shape != nullptr) shape->AddRandomPoint(&p->Position());
      direction = SectorDirection(sector);
    }
    direction = TurnDirection(direction, turn);
    p->Velocity() = direction * DrawSpeed();
    AddForcedMotion(*this, *p, forces);
    AddEnvelopeMultipliers(*p, parent != nullptr ? parent->Get() : nullptr);
  }
  return Keep(std::move(made));
}

// Field.

bool ZKW_PSGeomEmit_Field::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeomEmit_Field", 1);
  archive.io().WriteUInt32(width.Value());
  archive.io().WriteUInt32(depth.Value());
  archive.io().WriteUInt32(tilt.Value());
  return ZKW_PSGeometry_Emitter::Save(archive);
}

void ZKW_PSGeomEmit_Field::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(width.RawValue());
  archive.io().ReadUInt32(depth.RawValue());
  ReadChangedUInt32(archive, tilt);
  ReadEmitterPart(archive, *this);
}

ParticleList ZKW_PSGeomEmit_Field::Emit(float dt, ParticleHandle* parent) {
  ParticleList made = EmitCore(dt, parent);
  const float w = static_cast<float>(width.Value());
  const float d = static_cast<float>(depth.Value());
  for (ParticleHandle& p : made) {
    const float u = crt_rand_unit() - 0.5f;
    const float v = crt_rand_unit() - 0.5f;
    p->Position().x += u * w;
    p->Position().y += v * d;
    p->Velocity() = D3DXVECTOR3(u, v, 0.0f);
    AttachTransform<PtclTr_PerspectiveField>(*p, this);
    AddEnvelopeMultipliers(*p, parent != nullptr ? parent->Get() : nullptr);
  }
  return Keep(std::move(made));
}

// Stream.

bool ZKW_PSGeomEmit_Stream::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeomEmit_Stream", 1);
  WriteVector3(archive.io(), start.Value());
  WriteVector3(archive.io(), end.Value());
  archive.io().WriteUInt32(firstEdge.Value());
  archive.io().WriteUInt32(secondEdge.Value());
  archive.io().WriteInt32(perspective.Value());
  return ZKW_PSGeometry_Emitter::Save(archive);
}

void ZKW_PSGeomEmit_Stream::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadVector3(archive.io(), start.RawValue());
  ReadVector3(archive.io(), end.RawValue());
  archive.io().ReadUInt32(firstEdge.RawValue());
  firstEdge.Recompute();
  archive.io().ReadUInt32(secondEdge.RawValue());
  secondEdge.Recompute();
  archive.io().ReadInt32(perspective.RawValue());
  ReadEmitterPart(archive, *this);
}

ParticleList ZKW_PSGeomEmit_Stream::Emit(float dt, ParticleHandle* parent) {
  ParticleList made = EmitCore(dt, parent);
  const float a1 = static_cast<float>(firstEdge.Value()) * kDegreesToRadians;
  const float a2 = static_cast<float>(secondEdge.Value()) * kDegreesToRadians;
  const D3DXVECTOR3 first(std::cos(a1), -std::sin(a1), 0.0f);
  const D3DXVECTOR3 second(std::cos(a2), -std::sin(a2), 0.0f);
  for (ParticleHandle& p : made) {
    const float h = crt_rand_unit();
    p->Position() += start.Value() + (end.Value() - start.Value()) * h;
    p->vectors[ParticleRecord::kDirection] = first + (second - first) * h;
    AttachTransform<PtclTr_PerspectiveFlow>(*p, this, crt_rand_unit());
    AttachTransform<PtclTr_Kinematic>(*p);
    AddEnvelopeMultipliers(*p, parent != nullptr ? parent->Get() : nullptr);
  }
  return Keep(std::move(made));
}
