#include "particles/behaviour/physics/point_groups.h"

#include "particles/behaviour/particle/particle_transforms.h"

bool ZKW_PtclSysPhys_ConstPntGroup::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_ConstPntGroup", 1);
  archive.io().WriteUInt32(count.Value());
  return ZKW_PtclSysPhys_Points::Save(archive);
}

void ZKW_PtclSysPhys_ConstPntGroup::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(count.RawValue());
  ZKW_PtclSysPhys_Points::ReadBody(archive, ReadBaseHeader(archive));
}

ParticleList ZKW_PtclSysPhys_ConstPntGroup::SpawnForParents(ParticleList* parents) {
  if (parents == nullptr) return {};
  return SpawnChildren(*parents, count.Value(), [this](ParticleRecord* p) { InitNewParticle(p); });
}

void ZKW_PtclSysPhys_ConstPntGroup::InitNewParticle(ParticleRecord* particle) {
  particle->flags |= ParticleRecord::kDiesWithParent;
}

bool ZKW_PtclSysPhys_LifeEndless::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_LifeEndless", 1);
  WriteGraphSpreadPrm(archive, period);
  return ZKW_PtclSysPhys_Points::Save(archive);
}

void ZKW_PtclSysPhys_LifeEndless::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadGraphSpreadPrm(archive, period);
  ZKW_PtclSysPhys_Points::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysPhys_LifeEndless::InitNewParticle(ParticleRecord* particle) {
  particle->flags |= ParticleRecord::kDiesWithParent;
  unsigned cursor = 1;
  AttachTransform<PtclTr_PhoenixLife>(*particle, period.FactorAt(0.0f, 0.0f, &cursor));
}
