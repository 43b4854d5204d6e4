#include "particles/classic/kinds/burst_ptcl_sys.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/math/random_direction.h"
#include "core/param/param_reads.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/motion_routines.h"
#include "platform/math/d3dx_math.h"

bool ZKW_BurstPtclSys::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_BurstPtclSys", kVersion);
  DS_IOF_Virtual& io = archive.io();
  const D3DXVECTOR3& at = emitter.point.Value();
  io.WriteFloat(at.x);
  io.WriteFloat(at.y);
  io.WriteFloat(at.z);
  io.WriteUInt32(count.Value());
  io.WriteUInt32(startSpeed.Value());
  io.WriteUInt32(distance.Value());
  io.WriteInt32(spatial.Value());
  io.WriteUInt32(sector.Value());
  io.WriteUInt32(sector.spread.Value());
  io.WriteInt32(focus.Value());
  io.WriteUInt32(scatterRadius.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

void ZKW_BurstPtclSys::ReadMotion(DS_IOF_Archive& archive, bool withCount) {
  DS_IOF_Virtual& io = archive.io();
  D3DXVECTOR3& at = emitter.point.RawValue();
  io.ReadFloat(at.x);
  io.ReadFloat(at.y);
  io.ReadFloat(at.z);
  if (withCount) io.ReadUInt32(count.RawValue());
  ReadChangedUInt32(archive, startSpeed);
  io.ReadUInt32(distance.RawValue());
  io.ReadInt32(spatial.RawValue());
  io.ReadUInt32(sector.RawValue());
  sector.Recompute();
  io.ReadUInt32(sector.spread.RawValue());
}

void ZKW_BurstPtclSys::ReadLegacyGravity(DS_IOF_Archive& archive) {
  ReadChangedUInt32(archive, appearance.gravity);
  int32_t up = 0;
  archive.io().ReadInt32(up);
  appearance.gravityDirection.RawValue() = up != 0 ? 2 : 1;
  appearance.flags |= ParticleAppearance::kGravity;
}

void ZKW_BurstPtclSys::ApplyLegacyEnvelopes() {
  appearance.sizeEnvelope.riseEnd.SetValue(0);
  appearance.sizeEnvelope.fallStart.SetValue(100);
  appearance.opacityEnvelope.riseEnd.SetValue(10);
  appearance.opacityEnvelope.fallStart.SetValue(60);
}

bool ZKW_BurstPtclSys::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadMotion(archive, true);
  if (version < 4) {
    ReadLegacyGravity(archive);
    if (version == 2 || version == 3) {
      io.ReadInt32(focus.RawValue());
      io.ReadUInt32(scatterRadius.RawValue());
    }
  } else {
    io.ReadInt32(focus.RawValue());
    io.ReadUInt32(scatterRadius.RawValue());
  }
  if (version < 3) ApplyLegacyEnvelopes();
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_BurstPtclSys::Restart() {
  particles.clear();
  emitted = 0;
}

void ZKW_BurstPtclSys::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  appearance.flags |= ParticleAppearance::kOffsetOscillation;
  AttachWithBatches(runtime, 1);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_BurstPtclSys::Clone() const {
  return std::make_unique<ZKW_BurstPtclSys>(*this);
}

RoutineParticleList ZKW_BurstPtclSys::Emit(float) {
  const int n = DueInVisiblePhase(count.Value(), emitted);
  return n > 0 ? EmitAtPoint(n) : RoutineParticleList{};
}

RoutineParticleList ZKW_BurstPtclSys::EmitAtPoint(int n) {
  RoutineParticleList born = emitter.Generate(RoomFor(n));
  for (const auto& particle : born)
    InitParticle(particle);
  particles.insert(particles.end(), born.begin(), born.end());
  return born;
}

D3DXVECTOR3 ZKW_BurstPtclSys::SectorDirection() const {
  const D3DXVECTOR4& d = sector.Direction();
  return {d.x, -d.y, d.z};
}

void ZKW_BurstPtclSys::InitParticle(const DS_SafePtr<RoutineParticle>& handle) {
  if (!handle) return;
  RoutineParticle& p = *handle;
  const float speed = startSpeed.Scaled();
  const float lifetime = FlightTime(static_cast<float>(distance.Value()), speed);
  appearance.InitParticle(handle, MakeRoutine<IPR_ConstantAge>(lifetime));
  p.AddRoutine(MakeRoutine<IPR_Kinematic>(), false);

  const float direction = static_cast<float>(sector.Value());
  const float spread = static_cast<float>(sector.spread.Value());
  const float radius = static_cast<float>(scatterRadius.Value());
  const bool inSpace = spatial.Value() != 0;
  auto randomDirection = [inSpace](float lo, float hi) {
    D3DXVECTOR3 u;
    if (inSpace) {
      RandomDirection3D(&u, 1.0f, lo, hi);
    } else {
      RandomDirection2D(&u, 1.0f, lo, hi);
    }
    return u;
  };
  if (focus.Value() == 0) {
    const D3DXVECTOR3 u = randomDirection(direction - spread * 0.5f, direction + spread * 0.5f);
    p.velocity = u;
    const float r = crt_rand_unit() * radius;
    p.position += u * r;
  } else {
    const float r = crt_rand_unit() * radius;
    p.position += randomDirection(0.0f, 360.0f) * r;
    const D3DXVECTOR3 c = SectorDirection();
    if (sector.spread.Value() != 0 && scatterRadius.Value() != 0) {
      const float reach = radius / std::sin(spread * 1.5707964f / 180.0f);
      const D3DXVECTOR3 target = emitter.point.Value() + c * reach;
      const D3DXVECTOR3 towards = target - p.position;
      D3DXVec3Normalize(&p.velocity, &towards);
    } else {
      p.velocity = c;
    }
  }
  p.velocity *= speed;
  p.ownOpacity = 0.0f;
}
