#pragma once

#include <cstdint>
#include <memory>

#include "core/ds_safe_ptr.h"
#include "geometry/curve/zkw_curve.h"
#include "geometry/shape/zkw_vgeom2d.h"

class DX_BSplinePnt;

// A shape that is a line: it answers through a curve (its kind's own smart curve), with u running
// along the curve by arc length and v unused. Queries answer from the curve as it was last
// rebuilt; the offset kinds answer length and points through their offsetter, which their owner
// builds.
class ZKW_VGeom2D_Curve : public ZKW_VGeom2D {
 public:
  // "ZKW_VGeom2D_Curve", version 2, then the ZKW_VGeom2D record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 stores one more UInt32, which is skipped; then the ZKW_VGeom2D header.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // curve.PointAtLength(L x uv[0], 0, ...); uv[1] is not read.
  bool PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3* direction) const override;
  // The point at half the length; `out` untouched when the curve has none.
  D3DXVECTOR3* GetCenter(D3DXVECTOR3* out) const override;
  // The tangent of the nearest sample segment turned a quarter turn clockwise, (t.y, -t.x, 0);
  // (1, 0, 0) when the curve finds no nearest segment (always for the offset kinds).
  D3DXVECTOR3* NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const override;
  // curve.DirectionAtLength(L x uv[0], out); the point is not read.
  bool TangentAt(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* out) const override;

  // A new shape of the named kind (an empty handle when the name is not a curve kind) with this
  // shape's nodes appended to it; the new shape is not rebuilt.
  virtual DS_SafePtr<ZKW_VGeom2D_Curve> ConvertTo(const char* utf8Name) const;
  // curve.TotalLength().
  virtual float Length() const;
  // curve.PointAtLength with the same arguments.
  virtual bool PointAtLength(float length, float offset, D3DXVECTOR3* point,
                             D3DXVECTOR3* direction) const;

  ZKW_Curve& GetCurve() { return curve_; }
  const ZKW_Curve& GetCurve() const { return curve_; }

 protected:
  // `curve` is a member of the kind: the reference is taken before it is built.
  explicit ZKW_VGeom2D_Curve(ZKW_Curve& curve) : curve_(curve) {}
  ZKW_VGeom2D_Curve(const ZKW_VGeom2D_Curve&) = delete;

 private:
  ZKW_Curve& curve_;
};

// The common base of the curve kinds defined by nodes (control points). Code that holds a
// ZKW_VGeom2D_Curve reaches these operations with a dynamic cast.
class ZKW_VGeom2D_NodeDefined : public ZKW_VGeom2D_Curve {
 public:
  // As the curve's, then every node of this shape appended to the new one with AppendNode.
  DS_SafePtr<ZKW_VGeom2D_Curve> ConvertTo(const char* utf8Name) const override;

  // Node `index`, or null at or past the end (index must not be negative).
  virtual const DX_BSplinePnt* NodeAt(int index) const = 0;
  // Stores a node of the kind's type made from `node` at the end of the node list, makes it
  // current and notifies the current index (when it changes) and the list; the curve is not
  // rebuilt. A null node does nothing.
  virtual void AppendNode(const DX_BSplinePnt* node) = 0;

 protected:
  using ZKW_VGeom2D_Curve::ZKW_VGeom2D_Curve;
};

// `shape` as a curve shape, or null (deleting it) when it is none.
std::unique_ptr<ZKW_VGeom2D_Curve> AsCurveShape(std::unique_ptr<ZKW_VGeom2D> shape);
