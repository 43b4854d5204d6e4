#pragma once

#include <memory>

#include "geometry/shape/zkw_vgeom2d_figure.h"

// An axis-aligned rectangle of width W and height H centred on the position: u runs across the
// width, v across the height.
class ZKW_VGeom2D_Rect : public ZKW_VGeom2D_Figure {
 public:
  ZKW_VGeom2D_Rect() = default;
  ZKW_VGeom2D_Rect(const ZKW_VGeom2D_Rect&) = default;

  // "ZKW_VGeom2D_Rect", 1, UInt32 W, UInt32 H, then the figure record.
  bool Save(DS_IOF_Archive& archive) const override;
  // W and H stored straight, then the figure record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGeom2D_Rect"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;

  // (cx + W (u - 0.5), cy + H (v - 0.5), cz); the direction is untouched.
  bool PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3* direction) const override;
  // W >= |2 (x - cx)| and H >= |2 (y - cy)|.
  bool Contains(const D3DXVECTOR3& point) const override;
  // The exit of the ray through the nearer of the sides it meets; false for a start outside.
  bool ClipRay(const D3DXVECTOR3& point, const D3DXVECTOR3& direction,
               D3DXVECTOR3* exit) const override;
  // The outward normal of the nearest side (a tie picks a y side), (+-1, 0, 0) or (0, +-1, 0).
  D3DXVECTOR3* NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const override;
  // (1, 0, 0).
  bool TangentAt(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* out) const override;
  float GetSpanAcross(float u) const override;
  float GetSpanAlong(float v) const override;
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;
  // The position, W and H.
  void AttachParamCallbacks(OwnedControlList& list, const std::function<void()>& callback) override;

  MediaParamT<unsigned> width{600};
  MediaParamT<unsigned> height{400};
};
