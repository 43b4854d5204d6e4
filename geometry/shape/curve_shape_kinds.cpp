#include "geometry/shape/curve_shape_kinds.h"

#include <algorithm>

#include "geometry/shape/zkw_vgeom2d_visitor.h"

bool ZKW_VGeom2D_BSpline::Save(DS_IOF_Archive& archive) const {
  return SaveNodes(archive, u"ZKW_VGeom2D_BSpline");
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_BSpline::Clone() const {
  return std::make_unique<ZKW_VGeom2D_BSpline>(*this);
}

bool ZKW_VGeom2D_BSpline::InitAsSegment(float x0, float y0, float z0, float x1, float y1,
                                        float z1) {
  const D3DXVECTOR3 chord(x1 - x0, y1 - y0, z1 - z0);
  auto a = std::make_unique<DX_BSplinePnt>(x0, y0);
  auto b = std::make_unique<DX_BSplinePnt>(x1, y1);
  a->firstHandle.SetValueSilently(chord * 0.3f);
  b->secondHandle.SetValueSilently(chord * -0.3f);
  InsertNode(std::move(a));
  InsertNode(std::move(b));
  smart_.Rebuild();
  return true;
}

bool ZKW_VGeom2D_BSpline::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitBSpline(*this);
}

bool ZKW_VGeom2D_Polyline::Save(DS_IOF_Archive& archive) const {
  return SaveNodes(archive, u"ZKW_VGeom2D_Polyline");
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_Polyline::Clone() const {
  return std::make_unique<ZKW_VGeom2D_Polyline>(*this);
}

bool ZKW_VGeom2D_Polyline::InitAsSegment(float x0, float y0, float, float x1, float y1, float) {
  InsertCorner(x0, y0);
  InsertCorner(x1, y1);
  smart_.Rebuild();
  return true;
}

bool ZKW_VGeom2D_Polyline::GetBounds(D3DXVECTOR3* min, D3DXVECTOR3* max) const {
  const int count = smart_.GetCount();
  if (count == 0) return false;
  *min = *max = NodeAt(0)->Value();
  for (int i = 1; i < count; ++i) {
    const D3DXVECTOR3& p = NodeAt(i)->Value();
    max->x = std::max(max->x, p.x);
    min->x = std::min(min->x, p.x);
    max->y = std::max(max->y, p.y);
    min->y = std::min(min->y, p.y);
  }
  return true;
}

bool ZKW_VGeom2D_Polyline::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitPolyline(*this);
}

bool ZKW_VGeom2D_LineSegment::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D_LineSegment", 1);
  return ZKW_VGeom2D_Polyline::Save(archive);
}

void ZKW_VGeom2D_LineSegment::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ZKW_VGeom2D_Polyline::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_LineSegment::Clone() const {
  return std::make_unique<ZKW_VGeom2D_LineSegment>(*this);
}

bool ZKW_VGeom2D_Loop::Save(DS_IOF_Archive& archive) const {
  return SaveNodes(archive, u"ZKW_VGeom2D_Loop");
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_Loop::Clone() const {
  return std::make_unique<ZKW_VGeom2D_Loop>(*this);
}

bool ZKW_VGeom2D_Loop::InitAsSegment(float x0, float y0, float, float x1, float y1, float) {
  InsertCorner(x0, y1);
  InsertCorner(x1, y1);
  InsertCorner(x1, y0);
  InsertCorner(x0, y0);
  smart_.Rebuild();
  return true;
}

bool ZKW_VGeom2D_Loop::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitLoop(*this);
}

bool ZKW_VGeom2D_CubicSpline::Save(DS_IOF_Archive& archive) const {
  return SaveNodes(archive, u"ZKW_VGeom2D_CubicSpline");
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_CubicSpline::Clone() const {
  return std::make_unique<ZKW_VGeom2D_CubicSpline>(*this);
}

bool ZKW_VGeom2D_CubicSpline::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitCubicSpline(*this);
}
