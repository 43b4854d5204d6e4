#include "geometry/gradient/zkw_vgradient_linear.h"

#include "core/archive/vector_io.h"
#include "core/param/param_reads.h"
#include "platform/math/d3dx_math.h"

bool ZKW_VGradient_Linear::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGradient_Linear", 1);
  WriteVector3(archive.io(), start.Value());
  WriteVector3(archive.io(), end.Value());
  archive.io().WriteUInt32(startValue.Value());
  archive.io().WriteUInt32(endValue.Value());
  return ZKW_VGradient::Save(archive);
}

void ZKW_VGradient_Linear::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadVector3(archive.io(), start.RawValue());
  ReadVector3(archive.io(), end.RawValue());
  ReadChangedUInt32(archive, startValue);
  ReadChangedUInt32(archive, endValue);
  ReadBaseHeader(archive);
}

float ZKW_VGradient_Linear::ValueAt(const D3DXVECTOR3* point) const {
  const D3DXVECTOR3 d = end.Value() - start.Value();
  const D3DXVECTOR3 p = *point - start.Value();
  const float span = D3DXVec3Dot(&d, &d);
  const float vs = StartValue();
  if (span == 0.0f) return vs;
  const float t = D3DXVec3Dot(&p, &d) / span;
  if (!(t >= 0.0f)) return vs;  // also a NaN t, from points or ends out of float range
  const float ve = EndValue();
  if (t > 1.0f) return ve;
  return vs + (ve - vs) * t;
}

void ZKW_VGradient_Linear::Accept(ZKW_VGradient_Visitor& visitor) {
  visitor.VisitLinear(*this);
}
