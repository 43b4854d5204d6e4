#include "geometry/shape/zkw_vgeom2d_sector.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/param/param_reads.h"
#include "geometry/shape/zkw_vgeom2d_visitor.h"
#include "platform/math/d3dx_math.h"

ZKW_VGeom2D_Sector::ZKW_VGeom2D_Sector() {
  sweep.SetValue(360);
}

bool ZKW_VGeom2D_Sector::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D_Sector", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(radius.Value());
  io.WriteUInt32(innerRadius.Value());
  io.WriteUInt32(direction.Value());
  io.WriteUInt32(sweep.Value());
  return ZKW_VGeom2D_Figure::Save(archive);
}

void ZKW_VGeom2D_Sector::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadUInt32(radius.RawValue());
  archive.io().ReadUInt32(innerRadius.RawValue());
  ReadChangedUInt32(archive, direction);
  ReadChangedUInt32(archive, sweep);
  ZKW_VGeom2D_Figure::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_Sector::Clone() const {
  return std::make_unique<ZKW_VGeom2D_Sector>(*this);
}

D3DXVECTOR3 ZKW_VGeom2D_Sector::PolarPoint(float r, float a) const {
  const D3DXVECTOR3& c = Center();
  return {c.x + r * std::cos(a), c.y - r * std::sin(a), c.z + 0.0f * r};
}

bool ZKW_VGeom2D_Sector::PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3*) const {
  const float outer = static_cast<float>(radius.Value());
  const float inner = static_cast<float>(innerRadius.Value());
  const float r = outer + (inner - outer) * uv[0];
  const float a = FirstEdge() + (SecondEdge() - FirstEdge()) * uv[1];
  *point = PolarPoint(r, a);
  return true;
}

bool ZKW_VGeom2D_Sector::RandomAreaPoint(D3DXVECTOR3* out) const {
  const float a = FirstEdge() + (SecondEdge() - FirstEdge()) * crt_rand_unit();
  const float outer = static_cast<float>(radius.Value());
  float r = 0.0f;
  if (outer != 0.0f) {
    // Uniform over the ring's area: r^2 spread evenly between Ri^2 and R^2.
    const float q = static_cast<float>(innerRadius.Value()) / outer;
    r = outer * std::sqrt(q * q + (1.0f - q * q) * crt_rand_unit());
  }
  *out = PolarPoint(r, a);
  return true;
}

D3DXVECTOR3* ZKW_VGeom2D_Sector::NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& p) const {
  const D3DXVECTOR3 d = p - Center();
  D3DXVec3Normalize(out, &d);
  const unsigned outer = radius.Value();
  const unsigned inner = innerRadius.Value();
  const float middle = (static_cast<float>(outer) + static_cast<float>(inner)) / 2;
  if (inner != 0 && inner != outer && D3DXVec3Length(&d) <= middle) *out = -*out;
  return out;
}

bool ZKW_VGeom2D_Sector::TangentAt(const D3DXVECTOR3& p, const float*, D3DXVECTOR3* out) const {
  const D3DXVECTOR3 inwards = Center() - p;
  D3DXVec3Normalize(out, &inwards);
  return true;
}

bool ZKW_VGeom2D_Sector::NormalAtParam(const D3DXVECTOR3& p, const float* uv, D3DXVECTOR3* tangent,
                                       D3DXVECTOR3* normal) const {
  TangentAt(p, uv, tangent);
  *normal = {tangent->y, -tangent->x, 0.0f};
  return true;
}

float ZKW_VGeom2D_Sector::GetSpanAcross(float u) const {
  const float outer = static_cast<float>(radius.Value());
  const float inner = static_cast<float>(innerRadius.Value());
  return (outer + (inner - outer) * u) * sweep.Scaled();
}

float ZKW_VGeom2D_Sector::GetSpanAlong(float) const {
  return static_cast<float>(radius.Value()) - static_cast<float>(innerRadius.Value());
}

bool ZKW_VGeom2D_Sector::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitSector(*this);
}

void ZKW_VGeom2D_Sector::AttachParamCallbacks(OwnedControlList& list,
                                              const std::function<void()>& callback) {
  WatchParams(list, callback, {&radius, &innerRadius});
}
