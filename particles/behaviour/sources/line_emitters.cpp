#include "particles/behaviour/sources/line_emitters.h"

#include <memory>

#include "core/crt_rand.h"
#include "core/math/matrix_helpers.h"
#include "core/math/random_direction.h"
#include "geometry/path/bspline_point_io.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/behaviour/particle/stream_transforms.h"
#include "particles/behaviour/sources/emitter_kinds.h"
#include "platform/math/d3dx_math.h"

bool ZKW_PSGeometry_Line::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeometry_Line", 1);
  WriteBSplinePointVector(archive, path.Value());
  return ZKW_PSGeometry_Emitter::Save(archive);
}

void ReadLinePart(DS_IOF_Archive& archive, ZKW_PSGeometry_Line& line, bool withHeader) {
  if (withHeader) ReadBaseHeader(archive);
  ReadBSplinePointVector(archive, line.path.RawValue());
  line.path.Rebuild();
  ReadEmitterPart(archive, line);
}

bool ZKW_PSGeomEmit_Line::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeomEmit_Line", 2);
  return ZKW_PSGeometry_Line::Save(archive);
}

void ZKW_PSGeomEmit_Line::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadLinePart(archive, *this, version >= 2);
}

ParticleList ZKW_PSGeomEmit_Line::Emit(float dt, ParticleHandle* parent) {
  const ParticleRecord* owner = parent != nullptr ? parent->Get() : nullptr;
  const int n = FitCount(EmitCount(dt, owner != nullptr ? owner->floats[ParticleRecord::kAge] : 0));
  ParticleList made;
  for (int i = 0; i < n; ++i) {
    ParticleHandle p = MakeChildParticle(parent != nullptr ? *parent : ParticleHandle());
    if (attached.Value() != 0)
      p->flags |= ParticleRecord::kRelativeToParent | ParticleRecord::kDiesWithParent;
    InitParticle(*p);
    AttachTransform<PtclTr_PathTracker>(
        *p, DS_SafePtr<CurveCursor>(std::make_unique<CurveCursor>(path.Cursor())), &speed,
        crt_rand_unit());
    // Stands at the path's start.
    p->Update(0.0f);
    made.push_back(std::move(p));
  }
  return Keep(std::move(made));
}

bool ZKW_PSGeomEmit_Path::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeomEmit_Path", 1);
  archive.io().WriteInt32(absoluteDirection.Value());
  WriteSector(archive, sector);
  return ZKW_PSGeometry_Line::Save(archive);
}

void ZKW_PSGeomEmit_Path::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadInt32(absoluteDirection.RawValue());
  ReadSector(archive, sector);
  ReadLinePart(archive, *this, true);
}

ParticleList ZKW_PSGeomEmit_Path::Emit(float dt, ParticleHandle* parent) {
  const ParticleRecord* owner = parent != nullptr ? parent->Get() : nullptr;
  const int n = FitCount(EmitCount(dt, owner != nullptr ? owner->floats[ParticleRecord::kAge] : 0));
  ParticleList made;
  const float direction = static_cast<float>(sector.Value());
  const float half = static_cast<float>(sector.spread.Value()) * 0.5f;
  for (int i = 0; i < n; ++i) {
    ParticleHandle p = MakeChildParticle(parent != nullptr ? *parent : ParticleHandle());
    if (attached.Value() != 0) p->flags |= ParticleRecord::kRelativeToParent;
    AttachTransform<PtclTr_MaxAge>(*p, lifetime.Value());
    InitParticle(*p);
    CurveCursor cursor = path.Cursor();
    D3DXVECTOR3 point(0, 0, 0), tangent(1, 0, 0);
    cursor.SeekLength(crt_rand_unit() * path.TotalLength(), 0.0f, &point, &tangent);
    p->Position() = point;
    D3DXVECTOR3 heading;
    RandomDirection2D(&heading, 1.0f, direction - half, direction + half);
    if (absoluteDirection.Value() == 0) {
      D3DXVECTOR3 unit;
      D3DXVec3Normalize(&unit, &tangent);
      D3DXMATRIX turn;
      RotationZBetweenVectors(&turn, heading.x, heading.y, heading.z, 1.0f, 0.0f, 0.0f);
      D3DXVec3TransformNormal(&heading, &unit, &turn);
    }
    p->Velocity() = heading * DrawSpeed();
    AttachTransform<PtclTr_Kinematic>(*p);
    p->Update(0.0f);
    made.push_back(std::move(p));
  }
  return Keep(std::move(made));
}
