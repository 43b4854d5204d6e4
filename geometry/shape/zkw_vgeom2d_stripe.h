#pragma once

#include <cstdint>
#include <memory>

#include "core/graph/graph_spread_prm.h"
#include "core/param/scaled_param.h"
#include "geometry/shape/zkw_smart_geom.h"
#include "geometry/shape/zkw_vgeom2d_curve.h"

// A band of varying width along a curve shape, the centre line: u runs along the curve, v across
// the band. The half-width at u is g(u) x W x S / 2 on each side, g being the envelope's value, W
// the width value and S the scaled spread; start and end (percent) pick the part of the curve
// that u in [0, 1] covers. The curve's offsetter is built with W / 2 after construction and
// after reading.
//
// A stripe whose stored centre line was not a curve shape holds none: its queries then answer
// false, 0 or (0, 0, 0).
class ZKW_VGeom2D_Stripe : public ZKW_VGeom2D {
 public:
  // A polyline without nodes as the centre line.
  ZKW_VGeom2D_Stripe();
  // Shares the curve shape and the envelope graph; copies every value.
  ZKW_VGeom2D_Stripe(const ZKW_VGeom2D_Stripe&) = default;

  // "ZKW_VGeom2D_Stripe", 2, the curve's record (an empty polyline's when there is no curve), the
  // envelope graph's record, UInt32 W, spread, start and end percent, then the ZKW_VGeom2D record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has no start and end (they stay 0 % and 100 %).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGeom2D_Stripe"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;

  // u' = start + (end - start) u, written back into uv[0]; the point at L u' along the curve,
  // offset across it by d = g(u') S W (v - 0.5). The direction (when asked for) is the one the
  // curve answers there, normalised and turned a quarter turn counter-clockwise, and negated
  // for d > 0: from a curve that answers its tangent, the normal pointing away from the centre
  // line; the offset kinds answer a normal, which makes it run along the curve. False when the
  // curve has no point there.
  bool PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3* direction) const override;
  // As PointAt with u' = u: no start and end, nothing written back.
  bool PointAtUV(float u, float v, D3DXVECTOR3* point, D3DXVECTOR3* direction) const override;
  // The curve's centre.
  D3DXVECTOR3* GetCenter(D3DXVECTOR3* out) const override;
  // The unit normal of the nearest curve segment on the side of the point (the plain curve's
  // normal when W is 0); (1, 0, 0) when the curve finds no nearest segment.
  D3DXVECTOR3* NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const override;
  // The curve's TangentAt.
  bool TangentAt(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* out) const override;
  bool IsClosed() const override;
  bool IsClosedV() const override;
  // g(u) x S x W, u not remapped.
  float GetSpanAcross(float u) const override;
  // The curve's length.
  float GetSpanAlong(float v) const override;
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;

  // Builds the curve's offsetter, when it has one, with W / 2.
  void RebuildOffsetter();

  ZKW_SmartGeom<ZKW_VGeom2D_Curve> curve;
  GraphSpreadPrm width;
  UINTSclaleTo<float> start{0, 0.01f, 0.0f};
  UINTSclaleTo<float> end{100, 0.01f, 0.0f};

 private:
  // The point at u' (already remapped) and v.
  bool PointAtRemapped(float u, float v, D3DXVECTOR3* point, D3DXVECTOR3* direction) const;
  // W x S: the band's whole width where the envelope is 1.
  float WidthFactor() const { return width.value.Scaled() * width.spread.Scaled(); }
};
