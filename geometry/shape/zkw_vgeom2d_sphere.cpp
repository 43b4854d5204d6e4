#include "geometry/shape/zkw_vgeom2d_sphere.h"

#include <cmath>

#include "core/crt_rand.h"
#include "geometry/shape/zkw_vgeom2d_visitor.h"
#include "platform/math/d3dx_math.h"

namespace {

// (cos a, -sin a, 0) with a = r1 x 2 pi, turned about y by r2 x pi: two draws in this order.
D3DXVECTOR3 RandomTurnedDirection() {
  const float a = crt_rand_unit() * 6.2831855f;
  D3DXMATRIX turn;
  D3DXMatrixRotationY(&turn, crt_rand_unit() * 3.1415927f);
  const D3DXVECTOR3 inPlane(std::cos(a), -std::sin(a), 0.0f);
  D3DXVECTOR3 turned;
  D3DXVec3TransformCoord(&turned, &inPlane, &turn);
  return turned;
}

}  // namespace

bool ZKW_VGeom2D_Sphere::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D_Sphere", 1);
  archive.io().WriteUInt32(radius.Value());
  return ZKW_VGeom2D_Figure::Save(archive);
}

void ZKW_VGeom2D_Sphere::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadUInt32(radius.RawValue());
  ZKW_VGeom2D_Figure::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_Sphere::Clone() const {
  return std::make_unique<ZKW_VGeom2D_Sphere>(*this);
}

bool ZKW_VGeom2D_Sphere::RandomPoint(D3DXVECTOR3* point, float*) const {
  const float distance = static_cast<float>(radius.Value()) * crt_rand_unit();
  *point = Center() + RandomTurnedDirection() * distance;
  return true;
}

bool ZKW_VGeom2D_Sphere::PointAt(float*, D3DXVECTOR3* point, D3DXVECTOR3*) const {
  *point = Center();
  return true;
}

D3DXVECTOR3* ZKW_VGeom2D_Sphere::RandomDirection(D3DXVECTOR3* out) const {
  *out = RandomTurnedDirection();
  return out;
}

D3DXVECTOR3* ZKW_VGeom2D_Sphere::NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const {
  const D3DXVECTOR3 d = point - Center();
  return D3DXVec3Normalize(out, &d);
}

bool ZKW_VGeom2D_Sphere::TangentAt(const D3DXVECTOR3&, const float*, D3DXVECTOR3*) const {
  return false;
}

bool ZKW_VGeom2D_Sphere::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitSphere(*this);
}
