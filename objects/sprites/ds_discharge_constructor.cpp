#include "objects/sprites/ds_discharge_constructor.h"

#include "core/crt_rand.h"

bool DS_DischargeConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_DischargeConstructor", kVersion);
  return DS_StatObjConstructor::Save(archive);
}

bool DS_DischargeConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  return DS_StatObjConstructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_DischargeConstructor::Clone() const {
  return std::make_unique<DS_DischargeConstructor>(*this);
}

unsigned DS_DischargeConstructor::NextFrame(unsigned frame) {
  if (frameCount == 0) return 0;
  if (frameCount == 1) return frame;
  unsigned next = frame;
  while (next == frame)
    next = static_cast<unsigned>(crt_rand()) % frameCount;
  return next;
}
