#pragma once

#include <memory>

#include "geometry/shape/spiral_params.h"
#include "geometry/shape/zkw_vgeom2d_figure.h"

// A disc of radius R split into n arms that the twist bends: v picks an arm (its integer part of
// n v) and the place across it (the fraction), u runs outwards from the centre.
class ZKW_VGeom2D_Spiral : public ZKW_VGeom2D_Figure {
 public:
  ZKW_VGeom2D_Spiral() = default;
  ZKW_VGeom2D_Spiral(const ZKW_VGeom2D_Spiral&) = default;

  // "ZKW_VGeom2D_Spiral", 1, UInt32 R, the arm block, then the figure record.
  bool Save(DS_IOF_Archive& archive) const override;
  // R stored straight, the arm block, then the figure record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGeom2D_Spiral"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;

  // u = sqrt(r1) (even over the disc's area), v = r2, written into uv; then PointAt.
  bool RandomPoint(D3DXVECTOR3* point, float uv[2]) const override;
  // The point at radius R u on its arm; an arm count of 0 counts as 1. Direction untouched.
  bool PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3* direction) const override;
  // The tangent of a circle around the centre bent by the twist (see TangentAt).
  D3DXVECTOR3* NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const override;
  // The unit tangent of the arm through the point: (-d.y - (d.x / |d|) q, d.x - (d.y / |d|) q, 0)
  // normalised, with d = point - centre and q = 1 / (t x 2 pi x twist). Without a twist, its
  // limit -sign(t) d / |d| (pointing inwards or outwards); (1, 0, 0) at the centre. True.
  bool TangentAt(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* out) const override;
  // TangentAt, then normal = the radial unit vector turned a quarter turn clockwise.
  bool NormalAtParam(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* tangent,
                     D3DXVECTOR3* normal) const override;
  // R.
  float GetSpanAlong(float v) const override;
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;
  // The position and R.
  void AttachParamCallbacks(OwnedControlList& list, const std::function<void()>& callback) override;

  MediaParamT<unsigned> radius{300};
  SpiralParams arms;

 private:
  D3DXVECTOR3 Tangent(const D3DXVECTOR3& point) const;
};
