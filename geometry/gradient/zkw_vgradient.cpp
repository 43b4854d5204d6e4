#include "geometry/gradient/zkw_vgradient.h"

#include "core/registry/read_by_name.h"

bool ZKW_VGradient::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGradient", 1);
  return true;
}

std::unique_ptr<ZKW_VGradient> ReadVGradient(DS_IOF_Archive& archive) {
  return ReadByName(archive, GetVGradientRegistry());
}
