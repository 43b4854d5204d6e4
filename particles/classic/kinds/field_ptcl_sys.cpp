#include "particles/classic/kinds/field_ptcl_sys.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "core/param/param_reads.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/motion_routines.h"

ZKW_FieldPtclSys::~ZKW_FieldPtclSys() {
  particles.clear();
}

bool ZKW_FieldPtclSys::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_FieldPtclSys", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(lifetime.Value());
  io.WriteUInt32(fill.Value());
  const std::vector<PositionSlot>& places = slots.Positions();
  io.WriteDword(static_cast<uint32_t>(places.size()));
  for (const PositionSlot& place : places) {
    io.WriteFloat(place.x);
    io.WriteFloat(place.y);
    io.WriteFloat(place.z);
  }
  io.WriteUInt32(direction.Value());
  io.WriteUInt32(direction.spread.Value());
  io.WriteUInt32(startSpeed.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool ZKW_FieldPtclSys::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(lifetime.RawValue());
  lifetime.NotifyChanged(nullptr);
  ReadChangedUInt32(archive, fill);
  uint32_t count = 0;
  io.ReadDword(count);
  std::vector<D3DXVECTOR3> places;
  if (io.CountFits(count, 12)) {
    places.resize(count, D3DXVECTOR3(0, 0, 0));
    for (D3DXVECTOR3& place : places) {
      io.ReadFloat(place.x);
      io.ReadFloat(place.y);
      io.ReadFloat(place.z);
    }
  }
  slots.SetPositions(places);
  io.ReadUInt32(direction.RawValue());
  direction.Recompute();
  io.ReadUInt32(direction.spread.RawValue());
  ReadChangedUInt32(archive, startSpeed);
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

int ZKW_FieldPtclSys::TargetCount() const {
  const double wanted = std::trunc(static_cast<double>(slots.Positions().size()) * fill.Scaled());
  return RoomFor(SaturatingTruncate<int>(wanted - static_cast<double>(particles.size())));
}

void ZKW_FieldPtclSys::Dress(const DS_SafePtr<RoutineParticle>& handle, float startAge) {
  RoutineParticle& p = *handle;
  appearance.InitParticle(handle, MakeRoutine<IPR_ConstantAge>(lifetime.Scaled()));
  p.age = startAge;
  p.AddRoutine(MakeRoutine<IPR_Kinematic>(), false);
  p.velocity = direction.RandomDirection() * startSpeed.Scaled();
}

template <class StartAge>
RoutineParticleList ZKW_FieldPtclSys::Populate(int n, StartAge startAge) {
  RoutineParticleList born = slots.Generate(n);
  for (const auto& particle : born)
    Dress(particle, startAge());
  particles.insert(particles.end(), born.begin(), born.end());
  return born;
}

RoutineParticleList ZKW_FieldPtclSys::Emit(float) {
  const int n = TargetCount();
  if (n <= 0) return {};
  return Populate(n, [] { return 0.0f; });
}

void ZKW_FieldPtclSys::Restart() {
  particles.clear();
  if (timing.Kind() != 0) return;
  const float life = lifetime.Scaled();
  Populate(TargetCount(), [life] { return crt_rand_unit() * life; });
}

void ZKW_FieldPtclSys::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  AttachWithBatches(runtime, 1);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_FieldPtclSys::Clone() const {
  return std::make_unique<ZKW_FieldPtclSys>(*this);
}
