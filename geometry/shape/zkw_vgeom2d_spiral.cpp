#include "geometry/shape/zkw_vgeom2d_spiral.h"

#include <algorithm>
#include <cmath>

#include "core/crt_rand.h"
#include "geometry/shape/zkw_vgeom2d_visitor.h"
#include "platform/math/d3dx_math.h"

namespace {
constexpr float kTwoPi = 2 * 3.1415927f;
}  // namespace

bool ZKW_VGeom2D_Spiral::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D_Spiral", 1);
  archive.io().WriteUInt32(radius.Value());
  WriteSpiralParams(archive, arms);
  return ZKW_VGeom2D_Figure::Save(archive);
}

void ZKW_VGeom2D_Spiral::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadUInt32(radius.RawValue());
  ReadSpiralParams(archive, arms);
  ZKW_VGeom2D_Figure::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_Spiral::Clone() const {
  return std::make_unique<ZKW_VGeom2D_Spiral>(*this);
}

bool ZKW_VGeom2D_Spiral::RandomPoint(D3DXVECTOR3* point, float uv[2]) const {
  uv[0] = std::sqrt(crt_rand_unit());
  uv[1] = crt_rand_unit();
  return PointAt(uv, point, nullptr);
}

bool ZKW_VGeom2D_Spiral::PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3*) const {
  // The angle divides by the arm count: no arms give one.
  const float n = static_cast<float>(std::max(arms.armCount.Value(), 1u));
  const float r = static_cast<float>(radius.Value()) * uv[0];
  double arm = 0.0;
  const float across = static_cast<float>(std::modf(static_cast<double>(n * uv[1]), &arm));
  const float a = static_cast<float>(arm) * kTwoPi / n + arms.startAngle.Radians() +
                  across * arms.armSpan.Scaled() +
                  arms.TurnSign() * r * kTwoPi * arms.twist.Scaled();
  const D3DXVECTOR3& c = Center();
  *point = {c.x + r * std::cos(a), c.y - r * std::sin(a), c.z + 0.0f * r};
  return true;
}

D3DXVECTOR3 ZKW_VGeom2D_Spiral::Tangent(const D3DXVECTOR3& point) const {
  const D3DXVECTOR3 d = point - Center();
  const float length = D3DXVec3Length(&d);
  if (length == 0.0f) return {1.0f, 0.0f, 0.0f};
  const float t = arms.TurnSign();
  const float bend = t * kTwoPi * arms.twist.Scaled();
  D3DXVECTOR3 tangent;
  if (bend == 0.0f) {
    // The limit of an endless q: straight along the radius.
    tangent = {-std::copysign(1.0f, t) * d.x, -std::copysign(1.0f, t) * d.y, 0.0f};
  } else {
    const float q = 1.0f / bend;
    tangent = {-d.y - (d.x / length) * q, d.x - (d.y / length) * q, 0.0f};
  }
  D3DXVec3Normalize(&tangent, &tangent);
  return tangent;
}

D3DXVECTOR3* ZKW_VGeom2D_Spiral::NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const {
  *out = Tangent(point);
  return out;
}

bool ZKW_VGeom2D_Spiral::TangentAt(const D3DXVECTOR3& point, const float*, D3DXVECTOR3* out) const {
  *out = Tangent(point);
  return true;
}

bool ZKW_VGeom2D_Spiral::NormalAtParam(const D3DXVECTOR3& point, const float* uv,
                                       D3DXVECTOR3* tangent, D3DXVECTOR3* normal) const {
  TangentAt(point, uv, tangent);
  const D3DXVECTOR3 d = point - Center();
  D3DXVECTOR3 radial;
  D3DXVec3Normalize(&radial, &d);
  *normal = {radial.y, -radial.x, 0.0f};
  return true;
}

float ZKW_VGeom2D_Spiral::GetSpanAlong(float) const {
  return static_cast<float>(radius.Value());
}

bool ZKW_VGeom2D_Spiral::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitSpiral(*this);
}

void ZKW_VGeom2D_Spiral::AttachParamCallbacks(OwnedControlList& list,
                                              const std::function<void()>& callback) {
  WatchParams(list, callback, {&radius});
}
