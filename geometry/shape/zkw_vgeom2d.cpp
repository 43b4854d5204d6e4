#include "geometry/shape/zkw_vgeom2d.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/registry/read_by_name.h"

bool ZKW_VGeom2D::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D", 1);
  return true;
}

bool ZKW_VGeom2D::InitAsSegment(float, float, float, float, float, float) {
  return false;
}

bool ZKW_VGeom2D::GetBounds(D3DXVECTOR3*, D3DXVECTOR3*) const {
  return false;
}

bool ZKW_VGeom2D::RandomPoint(D3DXVECTOR3* point, float uv[2]) const {
  uv[0] = crt_rand_unit();
  uv[1] = crt_rand_unit();
  return PointAt(uv, point, nullptr);
}

bool ZKW_VGeom2D::PointAtUV(float u, float v, D3DXVECTOR3* point, D3DXVECTOR3* direction) const {
  float uvw[3] = {u, v, 0.0f};
  return PointAt(uvw, point, direction);
}

bool ZKW_VGeom2D::Contains(const D3DXVECTOR3&) const {
  return false;
}

bool ZKW_VGeom2D::ClipRay(const D3DXVECTOR3&, const D3DXVECTOR3&, D3DXVECTOR3*) const {
  return false;
}

D3DXVECTOR3* ZKW_VGeom2D::RandomDirection(D3DXVECTOR3* out) const {
  const double a = static_cast<double>(crt_rand_unit() * 6.2831855f);
  *out = {static_cast<float>(std::cos(a)), static_cast<float>(-std::sin(a)), 0.0f};
  return out;
}

bool ZKW_VGeom2D::NormalAtParam(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* tangent,
                                D3DXVECTOR3* normal) const {
  if (!TangentAt(point, uv, tangent)) return false;
  *normal = {-tangent->y, tangent->x, 0.0f};
  return true;
}

bool ZKW_VGeom2D::Accept(ZKW_VGeom2D_Visitor&) {
  return false;
}

void ZKW_VGeom2D::AttachParamCallbacks(OwnedControlList&, const std::function<void()>&) {}

std::unique_ptr<ZKW_VGeom2D> ReadVGeom2D(DS_IOF_Archive& archive) {
  return ReadByName(archive, GetVGeom2DRegistry());
}

std::unique_ptr<ZKW_VGeom2D> CreateVGeom2DByName(const char* utf8Name) {
  return CreateByName(GetVGeom2DRegistry(), Utf8ToWString(utf8Name));
}
