#include "particles/classic/kinds/fontain_ptcl_sys.h"

#include "core/param/param_reads.h"

bool ZKW_FontainPtclSys::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_FontainPtclSys", kVersion);
  archive.io().WriteUInt32(counter.rate.Value());
  return ZKW_BurstPtclSys::Save(archive);
}

bool ZKW_FontainPtclSys::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadChangedUInt32(archive, counter.rate);
  if (version != 1) return ZKW_BurstPtclSys::ReadBody(archive, ReadBaseHeader(archive));
  ReadMotion(archive, false);
  ReadLegacyGravity(archive);
  ApplyLegacyEnvelopes();
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_FontainPtclSys::Clone() const {
  return std::make_unique<ZKW_FontainPtclSys>(*this);
}

RoutineParticleList ZKW_FontainPtclSys::Emit(float step) {
  return EmitAtPoint(counter.Count(Visibility() * step));
}
