#include "particles/classic/kinds/splash_ptcl_sys.h"

#include <algorithm>

#include "core/param/param_reads.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/motion_routines.h"

bool ZKW_SplashPtclSys::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_SplashPtclSys", kVersion);
  DS_IOF_Virtual& io = archive.io();
  WriteMediaQuad(archive, rectEmitter.rect);
  const D3DXVECTOR3& c = sectorEmitter.point.Value();
  io.WriteFloat(c.x);
  io.WriteFloat(c.y);
  io.WriteFloat(c.z);
  io.WriteUInt32(sectorEmitter.radius);
  io.WriteUInt32(sectorEmitter.direction);
  io.WriteUInt32(sectorEmitter.opening);
  io.WriteInt32(source.Value());
  io.WriteUInt32(count.Value());
  io.WriteUInt32(lifetime.Value());
  io.WriteUInt32(flight.Value());
  io.WriteUInt32(flight.spread.Value());
  io.WriteUInt32(flightSpeed.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

void ZKW_SplashPtclSys::ReadSplashPhases(DS_IOF_Archive& archive) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, appearance.sizeSpread);
  int32_t dropped = 0;
  io.ReadInt32(dropped);
  uint32_t rise = 0, hold = 0, fall = 0;
  io.ReadUInt32(rise);
  io.ReadUInt32(hold);
  io.ReadUInt32(fall);
  int32_t envelope = 0;
  io.ReadInt32(envelope);
  // Summed and scaled in 64 bits; phases of no length give an envelope that never changes.
  const uint64_t total = uint64_t{rise} + hold + fall;
  lifetime.SetValue(static_cast<unsigned>(std::min<uint64_t>(total, UINT32_MAX)));
  const unsigned riseEnd = total != 0 ? static_cast<unsigned>(uint64_t{rise} * 100 / total) : 0;
  const unsigned fallStart =
      total != 0 ? static_cast<unsigned>((uint64_t{rise} + hold) * 100 / total) : 100;
  PercentParamQuad& shaped = envelope != 0 ? appearance.sizeEnvelope : appearance.opacityEnvelope;
  PercentParamQuad& plain = envelope != 0 ? appearance.opacityEnvelope : appearance.sizeEnvelope;
  shaped.riseEnd.SetValue(riseEnd);
  shaped.fallStart.SetValue(fallStart);
  plain.riseEnd.SetValue(0);
  plain.fallStart.SetValue(100);
  flight.spread.SetValueSilently(360);
  flightSpeed.SetValue(0);
}

bool ZKW_SplashPtclSys::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadMediaQuad(archive, rectEmitter.rect);
  D3DXVECTOR3& c = sectorEmitter.point.RawValue();
  io.ReadFloat(c.x);
  io.ReadFloat(c.y);
  io.ReadFloat(c.z);
  io.ReadUInt32(sectorEmitter.radius);
  io.ReadUInt32(sectorEmitter.direction);
  io.ReadUInt32(sectorEmitter.opening);
  io.ReadInt32(source.RawValue());
  io.ReadUInt32(count.RawValue());
  if (version > 1) {
    ReadChangedUInt32(archive, lifetime);
    lifetime.NotifyChanged(nullptr);
    io.ReadUInt32(flight.RawValue());
    flight.Recompute();
    io.ReadUInt32(flight.spread.RawValue());
    ReadChangedUInt32(archive, flightSpeed);
  } else {
    ReadSplashPhases(archive);
  }
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_SplashPtclSys::Restart() {
  particles.clear();
  emitted = 0;
}

void ZKW_SplashPtclSys::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  appearance.flags |= ParticleAppearance::kOffsetOscillation;
  AttachWithBatches(runtime, 1);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_SplashPtclSys::Clone() const {
  return std::make_unique<ZKW_SplashPtclSys>(*this);
}

RoutineParticleList ZKW_SplashPtclSys::Emit(float) {
  const int n = DueInVisiblePhase(count.Value(), emitted);
  return n > 0 ? EmitFromSource(n) : RoutineParticleList{};
}

RoutineParticleList ZKW_SplashPtclSys::EmitFromSource(int n) {
  ZKW_ImetterGeom& from = source.Value() != 0 ? static_cast<ZKW_ImetterGeom&>(sectorEmitter)
                                              : static_cast<ZKW_ImetterGeom&>(rectEmitter);
  RoutineParticleList born = from.Generate(RoomFor(n));
  for (const auto& particle : born)
    InitParticle(particle);
  particles.insert(particles.end(), born.begin(), born.end());
  return born;
}

void ZKW_SplashPtclSys::InitParticle(const DS_SafePtr<RoutineParticle>& handle) {
  appearance.InitParticle(handle, MakeRoutine<IPR_ConstantAge>(lifetime.Scaled()));
  handle->AddRoutine(MakeRoutine<IPR_Kinematic>(), false);
  handle->velocity = flight.RandomDirection() * flightSpeed.Scaled();
}

bool ZKW_SprayPtclSys::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_SprayPtclSys", kVersion);
  archive.io().WriteUInt32(counter.rate.Value());
  return ZKW_SplashPtclSys::Save(archive);
}

bool ZKW_SprayPtclSys::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadChangedUInt32(archive, counter.rate);
  if (version != 1) return ZKW_SplashPtclSys::ReadBody(archive, ReadBaseHeader(archive));
  ReadMediaQuad(archive, rectEmitter.rect);
  ReadSplashPhases(archive);
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_SprayPtclSys::Clone() const {
  return std::make_unique<ZKW_SprayPtclSys>(*this);
}

RoutineParticleList ZKW_SprayPtclSys::Emit(float step) {
  return EmitFromSource(counter.Count(Visibility() * step));
}
