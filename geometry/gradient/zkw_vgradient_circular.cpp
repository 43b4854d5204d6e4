#include "geometry/gradient/zkw_vgradient_circular.h"

#include <cmath>

#include "platform/math/d3dx_math.h"

bool ZKW_VGradient_Circular::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGradient_Circular", 1);
  return ZKW_VGradient_Linear::Save(archive);
}

void ZKW_VGradient_Circular::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ZKW_VGradient_Linear::ReadBody(archive, ReadBaseHeader(archive));
}

float ZKW_VGradient_Circular::ValueAt(const D3DXVECTOR3* point) const {
  const D3DXVECTOR3 rim = end.Value() - start.Value();
  const D3DXVECTOR3 p = *point - start.Value();
  const float rimSq = D3DXVec3LengthSq(&rim);
  const float vs = StartValue();
  const float ve = EndValue();
  if (rimSq == 0.0f) return ve;
  float t = static_cast<float>(std::sqrt(static_cast<double>(D3DXVec3LengthSq(&p) / rimSq)));
  if (!(t < 1.0f)) t = 1.0f;  // also a NaN t, from points or ends out of float range
  return vs + (ve - vs) * t;
}

void ZKW_VGradient_Circular::Accept(ZKW_VGradient_Visitor& visitor) {
  visitor.VisitCircular(*this);
}
