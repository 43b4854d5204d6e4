#include "particles/classic/paths/particle_trace.h"

#include "core/crt_rand.h"
#include "core/math/matrix_helpers.h"
#include "core/math/random_direction.h"
#include "core/param/param_reads.h"
#include "geometry/path/bspline_point_io.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/control/timeline_reading.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/motion_routines.h"
#include "platform/math/d3dx_math.h"

bool ZKW_ParticleTrace::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ParticleTrace", kVersion);
  DS_IOF_Virtual& io = archive.io();
  WriteBSplinePointVector(archive, path.Value());
  io.WriteUInt32(points.Value());
  io.WriteUInt32(lifetime.Value());
  io.WriteUInt32(scatter.Value());
  io.WriteUInt32(drift.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool ZKW_ParticleTrace::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  ReadBSplinePointVector(archive, path.RawValue());
  io.ReadUInt32(points.RawValue());
  ReadChangedUInt32(archive, lifetime);
  lifetime.NotifyChanged(nullptr);
  io.ReadUInt32(scatter.RawValue());
  ReadChangedUInt32(archive, drift);
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_ParticleTrace::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  ZKW_ParticleSystemCtrl::AttachRuntimeObject(runtime);
  if (runtime != nullptr) runtime->ResetBatches(1);
  path.Rebuild();
  cursor = DS_SafePtr<CurveCursor>(std::make_unique<CurveCursor>(path.Cursor()));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_ParticleTrace::Clone() const {
  return std::make_unique<ZKW_ParticleTrace>(*this);
}

RoutineParticleList ZKW_ParticleTrace::Emit(float step) {
  if (!cursor) return {};
  const TimelineReading timeline = TimelineReading::Of(*this);
  const float length = PathLength();
  if (timeline.state != TimingState::Shown || !(length > 0.0f) || !(timeline.cycle > 0.0f) ||
      points.Value() < 2) {
    cursor->segment = 0;
    cursor->distanceInSegment = 0.0f;
    pending = 0.0f;
    return {};
  }
  D3DXVECTOR3 point(0, 0, 0), along(0, 0, 0);
  if (pending == 0.0f) {
    cursor->Advance(0.0f, &point, &along);
    LayParticle(point, along);
  }
  pending += length * step / timeline.cycle;
  const float spacing = length / static_cast<float>(points.Value() - 1);
  // A full list stops the laying; what is due stays due.
  while (pending > spacing && RoomFor(1) > 0) {
    cursor->Advance(spacing, &point, &along);
    LayParticle(point, along);
    pending -= spacing;
  }
  return {};
}

void ZKW_ParticleTrace::LayParticle(const D3DXVECTOR3& point, const D3DXVECTOR3& along) {
  if (RoomFor(1) < 1) return;
  D3DXVECTOR3 offset;
  RandomDirection2D(&offset, static_cast<float>(scatter.Value()), 0.0f, 360.0f);
  DS_SafePtr<RoutineParticle> handle = MakeParticle(point + offset);
  RoutineParticle& p = *handle;
  appearance.InitParticle(handle, MakeRoutine<IPR_ConstantAge>(lifetime.Scaled()));
  if (appearance.orientation.Value() == ParticleAppearance::kAlongVelocity) {
    D3DXVECTOR3 unit;
    D3DXVec3Normalize(&unit, &along);
    D3DXMATRIX turn;
    RotationZBetweenVectors(&turn, unit.x, unit.y, unit.z, 1.0f, 0.0f, 0.0f);
    D3DXMatrixMultiply(&p.matrix, &p.matrix, &turn);
  }
  // Away from the path: (0, 0, drift) turned about the path's direction.
  D3DXMATRIX about;
  D3DXMatrixRotationAxis(&about, &along, crt_rand_unit() * 360.0f * 3.1415927f / 180.0f);
  const D3DXVECTOR3 away(0.0f, 0.0f, drift.Scaled());
  D3DXVec3TransformNormal(&p.velocity, &away, &about);
  p.AddRoutine(MakeRoutine<IPR_Kinematic>(), false);
  particles.push_back(handle);
}
