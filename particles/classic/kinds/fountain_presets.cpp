#include "particles/classic/kinds/fountain_presets.h"

#include "core/param/param_reads.h"
#include "particles/classic/routines/motion_routines.h"

namespace {

// The fountain's record that follows a preset's own fields.
bool ReadFountain(ZKW_FontainPtclSys& fountain, DS_IOF_Archive& archive) {
  return fountain.ZKW_FontainPtclSys::ReadBody(archive, ReadBaseHeader(archive));
}

}  // namespace

bool DS_PtclFire::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PtclFire", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(keptInt);
  io.WriteUInt32(kept1.Value());
  io.WriteUInt32(kept2.Value());
  io.WriteUInt32(kept3.Value());
  return ZKW_FontainPtclSys::Save(archive);
}

bool DS_PtclFire::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32(keptInt);
  io.ReadUInt32(kept1.RawValue());
  io.ReadUInt32(kept2.RawValue());
  io.ReadUInt32(kept3.RawValue());
  return ReadFountain(*this, archive);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_PtclFire::Clone() const {
  return std::make_unique<DS_PtclFire>(*this);
}

void DS_PtclFire::InitParticle(const DS_SafePtr<RoutineParticle>& particle) {
  ZKW_BurstPtclSys::InitParticle(particle);
  if (particle) particle->acceleration = SectorDirection() * appearance.gravity.Scaled();
}

bool DS_PtclFireStream::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PtclFireStream", 1);
  archive.io().WriteUInt32(kept.Value());
  return ZKW_FontainPtclSys::Save(archive);
}

bool DS_PtclFireStream::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(kept.RawValue());
  return ReadFountain(*this, archive);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_PtclFireStream::Clone() const {
  return std::make_unique<DS_PtclFireStream>(*this);
}

bool DS_PtclSmoke::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PtclSmoke", 1);
  archive.io().WriteUInt32(kept.Value());
  archive.io().WriteUInt32(wind.Value());
  return ZKW_FontainPtclSys::Save(archive);
}

bool DS_PtclSmoke::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(kept.RawValue());
  ReadChangedUInt32(archive, wind);
  return ReadFountain(*this, archive);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_PtclSmoke::Clone() const {
  return std::make_unique<DS_PtclSmoke>(*this);
}

void DS_PtclSmoke::InitParticle(const DS_SafePtr<RoutineParticle>& particle) {
  if (particle) {
    particle->AddRoutine(
        MakeRoutine<IPR_Wind>(D3DXVECTOR3(wind.Scaled(), 0, 0), appearance.airResistance.Scaled()),
        false);
  }
  appearance.flags &= ~uint32_t{ParticleAppearance::kGravity};
  ZKW_BurstPtclSys::InitParticle(particle);
}

bool DS_WaterJet::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_WaterJet", 0);
  return ZKW_FontainPtclSys::Save(archive);
}

bool DS_WaterJet::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  return ReadFountain(*this, archive);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_WaterJet::Clone() const {
  return std::make_unique<DS_WaterJet>(*this);
}

bool DS_LightBeams::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_LightBeams", 1);
  return ZKW_FontainPtclSys::Save(archive);
}

bool DS_LightBeams::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  return ReadFountain(*this, archive);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_LightBeams::Clone() const {
  return std::make_unique<DS_LightBeams>(*this);
}
