#include "geometry/gradient/zkw_custom_gradient.h"

#include "core/registry/read_by_name.h"

ZKW_CustomGradient::ZKW_CustomGradient() {
  SetValue(
      DS_SafePtr<ZKW_VGradient>(CreateByName(GetVGradientRegistry(), u"ZKW_VGradient_Linear")));
}

void ZKW_CustomGradient::ReadGradient(DS_IOF_Archive& archive) {
  SetValue(DS_SafePtr<ZKW_VGradient>(ReadVGradient(archive)));
}
