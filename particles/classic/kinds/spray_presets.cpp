#include "particles/classic/kinds/spray_presets.h"

namespace {

// The spray's record that follows a preset's own fields.
bool ReadSpray(ZKW_SprayPtclSys& spray, DS_IOF_Archive& archive) {
  return spray.ZKW_SprayPtclSys::ReadBody(archive, ReadBaseHeader(archive));
}

}  // namespace

DS_PtclFog::DS_PtclFog() {
  appearance.spinSpeed.SetFactor(0.0005f);
  flightSpeed.SetFactor(0.01f);
  counter.rate.SetFactor(0.01f);
}

bool DS_PtclFog::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PtclFog", 1);
  archive.io().WriteUInt32(kept.Value());
  return ZKW_SprayPtclSys::Save(archive);
}

bool DS_PtclFog::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(kept.RawValue());
  return ReadSpray(*this, archive);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_PtclFog::Clone() const {
  return std::make_unique<DS_PtclFog>(*this);
}

bool DS_BokehLights::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_BokehLights", 1);
  archive.io().WriteInt32(kept.Value());
  return ZKW_SprayPtclSys::Save(archive);
}

bool DS_BokehLights::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadInt32(kept.RawValue());
  return ReadSpray(*this, archive);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_BokehLights::Clone() const {
  return std::make_unique<DS_BokehLights>(*this);
}

bool DS_PtclSmoke3::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PtclSmoke3", 1);
  archive.io().WriteUInt32(kept.Value());
  return ZKW_SprayPtclSys::Save(archive);
}

bool DS_PtclSmoke3::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(kept.RawValue());
  return ReadSpray(*this, archive);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_PtclSmoke3::Clone() const {
  return std::make_unique<DS_PtclSmoke3>(*this);
}

bool DS_Shimmer::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_Shimmer", 1);
  return ZKW_SprayPtclSys::Save(archive);
}

bool DS_Shimmer::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  return ReadSpray(*this, archive);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_Shimmer::Clone() const {
  return std::make_unique<DS_Shimmer>(*this);
}
