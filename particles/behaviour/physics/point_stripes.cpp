#include "particles/behaviour/physics/point_stripes.h"

#include <memory>

DS_SafePtr<ZKW_PtclSysPhys_Points> MakeStripePoints() {
  return DS_SafePtr<ZKW_PtclSysPhys_Points>(std::make_unique<StripePointGroup>());
}

bool ZKW_PtclSysPhys_PntStripes::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_PntStripes", 1);
  return ZKW_PtclSys_Physics::Save(archive);
}

void ZKW_PtclSysPhys_PntStripes::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ZKW_PtclSys_Physics::ReadBody(archive, ReadBaseHeader(archive));
}
