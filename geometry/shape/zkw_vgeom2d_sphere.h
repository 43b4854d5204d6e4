#pragma once

#include <memory>

#include "geometry/shape/zkw_vgeom2d_figure.h"

// A ball of radius R around the position, filled with random points made from a disc of random
// directions turned about the vertical axis. It has no (u, v) parametrisation.
class ZKW_VGeom2D_Sphere : public ZKW_VGeom2D_Figure {
 public:
  ZKW_VGeom2D_Sphere() = default;
  ZKW_VGeom2D_Sphere(const ZKW_VGeom2D_Sphere&) = default;

  // "ZKW_VGeom2D_Sphere", 1, UInt32 R, then the figure record.
  bool Save(DS_IOF_Archive& archive) const override;
  // R stored straight, then the figure record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGeom2D_Sphere"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;

  // The centre plus R r1 times the in-plane direction at angle r2 x 2 pi turned about y by
  // r3 x pi; uv untouched.
  bool RandomPoint(D3DXVECTOR3* point, float uv[2]) const override;
  // The centre, whatever the parameters; direction untouched.
  bool PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3* direction) const override;
  // The in-plane direction at angle r1 x 2 pi turned about y by r2 x pi.
  D3DXVECTOR3* RandomDirection(D3DXVECTOR3* out) const override;
  // The unit vector from the centre towards the point.
  D3DXVECTOR3* NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const override;
  bool TangentAt(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* out) const override;
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;

  MediaParamT<unsigned> radius{200};
};
