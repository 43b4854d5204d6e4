#pragma once

#include <memory>

#include "core/param/scaled_param.h"
#include "core/param/smart_angle.h"
#include "geometry/shape/zkw_vgeom2d_figure.h"

// An annular circle sector: outer radius R, inner radius Ri, centred on the direction (degrees)
// and spanning the sweep (degrees). u runs from the outer arc (0) to the inner one (1), v from
// the edge at direction + sweep / 2 (0) to the edge at direction - sweep / 2 (1).
class ZKW_VGeom2D_Sector : public ZKW_VGeom2D_Figure {
 public:
  ZKW_VGeom2D_Sector();
  ZKW_VGeom2D_Sector(const ZKW_VGeom2D_Sector&) = default;

  // "ZKW_VGeom2D_Sector", 1, UInt32 R, Ri, direction, sweep, then the figure record.
  bool Save(DS_IOF_Archive& archive) const override;
  // R and Ri stored straight; direction and sweep stored and notified when they differ, so that
  // their radians follow; then the figure record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGeom2D_Sector"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;

  // The point at radius R + (Ri - R) u and angle between the two edges; direction untouched.
  bool PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3* direction) const override;
  // The unit vector from the centre towards the point; towards the centre instead for a ring
  // (0 < Ri != R) when the point lies within the middle radius (R + Ri) / 2. (0, 0, 0) at the
  // centre.
  D3DXVECTOR3* NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const override;
  // The unit vector from the point towards the centre, the direction of growing u.
  bool TangentAt(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* out) const override;
  // TangentAt, then normal = (t.y, -t.x, 0); always true.
  bool NormalAtParam(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* tangent,
                     D3DXVECTOR3* normal) const override;
  // The arc length at u: (R + (Ri - R) u) x sweep in radians.
  float GetSpanAcross(float u) const override;
  // R - Ri.
  float GetSpanAlong(float v) const override;
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;
  // The position, R and Ri.
  void AttachParamCallbacks(OwnedControlList& list, const std::function<void()>& callback) override;

  // A point spread evenly over the sector's area: the angle from the first draw, the radius from
  // the second (none when R is 0, where the point is the position); true.
  bool RandomAreaPoint(D3DXVECTOR3* out) const;

  MediaParamT<unsigned> radius{400};
  MediaParamT<unsigned> innerRadius{0};
  ZKW_SmartAngle direction;
  ZKW_Angle sweep;

 private:
  // The point at radius r and angle a from the centre.
  D3DXVECTOR3 PolarPoint(float r, float a) const;
  // The angles of the edges at v = 0 and v = 1.
  float FirstEdge() const { return direction.Radians() + sweep.Scaled() / 2; }
  float SecondEdge() const { return direction.Radians() - sweep.Scaled() / 2; }
};
