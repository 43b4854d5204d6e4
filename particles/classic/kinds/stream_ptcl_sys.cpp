#include "particles/classic/kinds/stream_ptcl_sys.h"

#include "core/crt_rand.h"
#include "core/param/param_reads.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/motion_routines.h"
#include "platform/math/d3dx_math.h"

DS_StreamPtclSys::DS_StreamPtclSys() {
  speed.value.SetFactor(2.0f);
}

bool DS_StreamPtclSys::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_StreamPtclSys", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(counter.rate.Value());
  WriteMediaQuad(archive, area);
  io.WriteUInt32(lifetime.Value());
  for (int copy = 0; copy < 2; ++copy) {
    io.WriteUInt32(speed.value.Value());
    io.WriteUInt32(speed.jitter.Value());
  }
  io.WriteUInt32(scatter.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool DS_StreamPtclSys::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, counter.rate);
  ReadMediaQuad(archive, area);
  ReadChangedUInt32(archive, lifetime);
  lifetime.NotifyChanged(nullptr);
  ReadJitterParam(archive, speed);
  ReadJitterParam(archive, speed);
  ReadChangedUInt32(archive, scatter);
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_StreamPtclSys::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  AttachWithBatches(runtime, 1);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_StreamPtclSys::Clone() const {
  return std::make_unique<DS_StreamPtclSys>(*this);
}

RoutineParticleList DS_StreamPtclSys::Emit(float step) {
  const int n = RoomFor(counter.Count(Visibility() * step));
  const D3DXVECTOR3& c0 = area.corners[0].Value();
  const D3DXVECTOR3& c1 = area.corners[1].Value();
  const D3DXVECTOR3& c2 = area.corners[2].Value();
  const D3DXVECTOR3& c3 = area.corners[3].Value();
  const float t = scatter.Scaled();
  const float q = speed.jitter.Scaled();
  for (int i = 0; i < n; ++i) {
    const float o = crt_rand_unit();
    const D3DXVECTOR3 start = c2 + (c0 - c2) * o;
    const float along = o + (crt_rand_unit() * 2.0f * t - t);
    const D3DXVECTOR3 aim = c3 + (c1 - c3) * along;
    D3DXVECTOR3 u = aim - start;
    // Start and aim at one point give no direction: the particle stays.
    if (D3DXVec3LengthSq(&u) > 0.0f) D3DXVec3Normalize(&u, &u);
    auto handle = MakeParticle(start);
    particles.push_back(handle);
    appearance.InitParticle(handle, MakeRoutine<IPR_ConstantAge>(lifetime.Scaled()));
    handle->AddRoutine(MakeRoutine<IPR_Kinematic>(), false);
    handle->velocity = u * (speed.value.Scaled() * (crt_rand_unit() * (1.0f - q) + q));
    handle->Update(static_cast<float>(i) * step / static_cast<float>(n));
  }
  return {};
}

bool DS_PtclSmoke2::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PtclSmoke2", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(kept1.Value());
  io.WriteUInt32(kept2.Value());
  io.WriteInt32(kept3.Value());
  return DS_StreamPtclSys::Save(archive);
}

bool DS_PtclSmoke2::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(kept1.RawValue());
  io.ReadUInt32(kept2.RawValue());
  io.ReadInt32(kept3.RawValue());
  return DS_StreamPtclSys::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_PtclSmoke2::Clone() const {
  return std::make_unique<DS_PtclSmoke2>(*this);
}
