#pragma once

#include <memory>

#include "geometry/curve/zkw_smart_cubic_spline.h"
#include "geometry/curve/zkw_smart_offset_bspline.h"
#include "geometry/curve/zkw_smart_offset_polyline.h"
#include "geometry/curve/zkw_smart_poly_loop.h"
#include "geometry/shape/node_defined_shape.h"

// The curve shapes defined by nodes. Each is stored as its name, version 1, its nodes, then the
// ZKW_VGeom2D_Curve record; the line segment stores its own header before a whole polyline
// record.

// A curve of cubic Bezier segments through B-spline nodes and their handles, with a band.
class ZKW_VGeom2D_BSpline : public NodeDefinedShape<ZKW_SmartOffsetBSpline, DX_BSplinePnt> {
 public:
  ZKW_VGeom2D_BSpline() = default;
  ZKW_VGeom2D_BSpline(const ZKW_VGeom2D_BSpline&) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  const char* GetClassName() const override { return "ZKW_VGeom2D_BSpline"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;
  // Appends two nodes at (x0, y0) and (x1, y1) whose inner handles are 0.3 of the chord long,
  // then rebuilds the curve.
  bool InitAsSegment(float x0, float y0, float z0, float x1, float y1, float z1) override;
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;
};

// An open polyline through corner nodes, with a band.
class ZKW_VGeom2D_Polyline
    : public NodeDefinedShape<ZKW_SmartOffsetPolyline, ZKW_CornerBSplinePnt> {
 public:
  ZKW_VGeom2D_Polyline() = default;
  ZKW_VGeom2D_Polyline(const ZKW_VGeom2D_Polyline&) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  const char* GetClassName() const override { return "ZKW_VGeom2D_Polyline"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;
  // Appends corner nodes at (x0, y0, 0) and (x1, y1, 0), then rebuilds the curve.
  bool InitAsSegment(float x0, float y0, float z0, float x1, float y1, float z1) override;
  // The bounding box of the nodes in x and y; z is that of node 0. False without nodes.
  bool GetBounds(D3DXVECTOR3* min, D3DXVECTOR3* max) const override;
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;
};

// A polyline of two nodes: appending nodes does nothing.
class ZKW_VGeom2D_LineSegment : public ZKW_VGeom2D_Polyline {
 public:
  ZKW_VGeom2D_LineSegment() = default;
  ZKW_VGeom2D_LineSegment(const ZKW_VGeom2D_LineSegment&) = default;

  // "ZKW_VGeom2D_LineSegment", 1, then the whole polyline record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGeom2D_LineSegment"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;
  void AppendNode(const DX_BSplinePnt*) override {}
};

// A closed polyline through corner nodes; lengths wrap around the loop.
class ZKW_VGeom2D_Loop : public NodeDefinedShape<ZKW_SmartPolyLoop, ZKW_CornerBSplinePnt> {
 public:
  ZKW_VGeom2D_Loop() = default;
  ZKW_VGeom2D_Loop(const ZKW_VGeom2D_Loop&) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  const char* GetClassName() const override { return "ZKW_VGeom2D_Loop"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;
  // Appends the rectangle (x0, y1), (x1, y1), (x1, y0), (x0, y0), then rebuilds the curve.
  bool InitAsSegment(float x0, float y0, float z0, float x1, float y1, float z1) override;
  bool IsClosed() const override { return true; }
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;
};

// An interpolating cubic spline through corner nodes, answering from its own samples.
class ZKW_VGeom2D_CubicSpline
    : public NodeDefinedShape<ZKW_SmartCubicSpline, ZKW_CornerBSplinePnt> {
 public:
  ZKW_VGeom2D_CubicSpline() = default;
  ZKW_VGeom2D_CubicSpline(const ZKW_VGeom2D_CubicSpline&) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  const char* GetClassName() const override { return "ZKW_VGeom2D_CubicSpline"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;
};
