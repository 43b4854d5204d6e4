#include "particles/classic/kinds/vortex_ptcl_sys.h"

#include "core/crt_rand.h"
#include "core/math/random_direction.h"
#include "core/param/param_reads.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/motion_routines.h"
#include "particles/classic/routines/vortex_routine.h"

ZKW_VortexPtclSys::ZKW_VortexPtclSys() {
  armRotation.SetScale(2.0f, 0.0f);
}

ZKW_VortexPtclSys::~ZKW_VortexPtclSys() {
  particles.clear();
}

bool ZKW_VortexPtclSys::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VortexPtclSys", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(counter.rate.Value());
  const D3DXVECTOR3& c = emitter.point.Value();
  io.WriteFloat(c.x);
  io.WriteFloat(c.y);
  io.WriteFloat(c.z);
  io.WriteUInt32(radialSpeed.Value());
  io.WriteUInt32(swirl.Value());
  io.WriteInt32(swirlDirection.Value());
  io.WriteUInt32(sector.Value());
  io.WriteUInt32(sector.spread.Value());
  io.WriteUInt32(arms.Value());
  io.WriteUInt32(armRotation.Value());
  io.WriteInt32(armDirection.Value());
  io.WriteUInt32(distance.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool ZKW_VortexPtclSys::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, counter.rate);
  D3DXVECTOR3& c = emitter.point.RawValue();
  io.ReadFloat(c.x);
  io.ReadFloat(c.y);
  io.ReadFloat(c.z);
  ReadChangedUInt32(archive, radialSpeed);
  ReadChangedUInt32(archive, swirl);
  io.ReadInt32(swirlDirection.RawValue());
  io.ReadUInt32(sector.RawValue());
  sector.Recompute();
  io.ReadUInt32(sector.spread.RawValue());
  io.ReadUInt32(arms.RawValue());
  ReadChangedUInt32(archive, armRotation);
  io.ReadInt32(armDirection.RawValue());
  io.ReadUInt32(distance.RawValue());
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_VortexPtclSys::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  AttachWithBatches(runtime, 1);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_VortexPtclSys::Clone() const {
  return std::make_unique<ZKW_VortexPtclSys>(*this);
}

RoutineParticleList ZKW_VortexPtclSys::Emit(float step) {
  armRotation.step = armRotation.Scaled() * step;
  armRotation.localTime += armRotation.step;
  RoutineParticleList born = emitter.Generate(RoomFor(counter.Count(Visibility() * step)));
  for (const auto& particle : born)
    InitParticle(particle);
  particles.insert(particles.end(), born.begin(), born.end());
  return born;
}

void ZKW_VortexPtclSys::InitParticle(const DS_SafePtr<RoutineParticle>& handle) {
  const float speed = radialSpeed.Scaled();
  appearance.InitParticle(handle, MakeRoutine<IPR_ConstantAge>(
                                      FlightTime(static_cast<float>(distance.Value()), speed)));
  handle->AddRoutine(MakeRoutine<IPR_Kinematic>(), false);
  handle->AddRoutine(
      MakeRoutine<IPR_VortexVel>(&emitter.point, &radialSpeed, &swirl, &swirlDirection), false);
  const float direction = static_cast<float>(sector.Value());
  const float spread = static_cast<float>(sector.spread.Value());
  float lo = direction - spread * 0.5f, hi = direction + spread * 0.5f;
  if (armRotation.Value() != 0) {
    const float turn = armDirection.Value() != 0 ? armRotation.localTime : -armRotation.localTime;
    lo += turn;
    hi += turn;
  }
  const unsigned n = ArmCount();
  const float arm =
      static_cast<float>(static_cast<unsigned>(crt_rand()) % n) * (360.0f / static_cast<float>(n));
  RandomDirection2D(&handle->velocity, speed, lo + arm, hi + arm);
}
