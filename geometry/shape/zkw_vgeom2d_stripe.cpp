#include "geometry/shape/zkw_vgeom2d_stripe.h"

#include <cmath>
#include <memory>

#include "core/param/param_reads.h"
#include "geometry/offset/zkw_curve_offset_maker.h"
#include "geometry/shape/curve_shape_kinds.h"
#include "geometry/shape/zkw_vgeom2d_visitor.h"
#include "platform/math/d3dx_math.h"

ZKW_VGeom2D_Stripe::ZKW_VGeom2D_Stripe() {
  curve.Set(std::make_unique<ZKW_VGeom2D_Polyline>());
  RebuildOffsetter();
}

bool ZKW_VGeom2D_Stripe::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D_Stripe", 2);
  if (const ZKW_VGeom2D_Curve* line = curve.Get()) {
    line->Save(archive);
  } else {
    ZKW_VGeom2D_Polyline().Save(archive);
  }
  WriteGraphSpreadPrm(archive, width);
  archive.io().WriteUInt32(start.Value());
  archive.io().WriteUInt32(end.Value());
  return ZKW_VGeom2D::Save(archive);
}

void ZKW_VGeom2D_Stripe::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  curve.Set(AsCurveShape(ReadVGeom2D(archive)));
  ReadGraphSpreadPrm(archive, width);
  RebuildOffsetter();
  if (version > 1) {
    ReadChangedUInt32(archive, start);
    ReadChangedUInt32(archive, end);
  }
  ReadBaseHeader(archive);
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_Stripe::Clone() const {
  return std::make_unique<ZKW_VGeom2D_Stripe>(*this);
}

void ZKW_VGeom2D_Stripe::RebuildOffsetter() {
  ZKW_VGeom2D_Curve* line = curve.Get();
  if (line == nullptr) return;
  if (ZKW_CurveOffsetMaker* offsetter = line->GetCurve().GetOffsetMaker())
    offsetter->Build(width.value.Scaled() * 0.5f);
}

bool ZKW_VGeom2D_Stripe::PointAtRemapped(float u, float v, D3DXVECTOR3* point,
                                         D3DXVECTOR3* direction) const {
  const ZKW_VGeom2D_Curve* line = curve.Get();
  if (line == nullptr) return false;
  unsigned cursor = 1;
  const float across = width.envelope.ValueAt(u, &cursor) * WidthFactor() * (v - 0.5f);
  if (!line->PointAtLength(line->Length() * u, across, point, direction)) return false;
  if (direction != nullptr) {
    D3DXVec3Normalize(direction, direction);
    *direction = {-direction->y, direction->x, 0.0f};
    if (across > 0.0f) *direction = -*direction;
  }
  return true;
}

bool ZKW_VGeom2D_Stripe::PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3* direction) const {
  const float a = start.Scaled();
  uv[0] = a + (end.Scaled() - a) * uv[0];
  return PointAtRemapped(uv[0], uv[1], point, direction);
}

bool ZKW_VGeom2D_Stripe::PointAtUV(float u, float v, D3DXVECTOR3* point,
                                   D3DXVECTOR3* direction) const {
  return PointAtRemapped(u, v, point, direction);
}

D3DXVECTOR3* ZKW_VGeom2D_Stripe::GetCenter(D3DXVECTOR3* out) const {
  if (const ZKW_VGeom2D_Curve* line = curve.Get()) return line->GetCenter(out);
  *out = {0.0f, 0.0f, 0.0f};
  return out;
}

D3DXVECTOR3* ZKW_VGeom2D_Stripe::NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& p) const {
  const ZKW_VGeom2D_Curve* line = curve.Get();
  D3DXVECTOR3 c, t;
  if (line == nullptr || !line->GetCurve().ClosestPoint(p, &c, &t)) {
    *out = line == nullptr ? D3DXVECTOR3(0.0f, 0.0f, 0.0f) : D3DXVECTOR3(1.0f, 0.0f, 0.0f);
    return out;
  }
  if (width.value.Value() == 0) {
    *out = {t.y, -t.x, 0.0f};
  } else {
    const float side = std::copysign(1.0f, (p.y - c.y) * t.x - (p.x - c.x) * t.y);
    *out = {-t.y * side, t.x * side, 0.0f};
  }
  return out;
}

bool ZKW_VGeom2D_Stripe::TangentAt(const D3DXVECTOR3& point, const float* uv,
                                   D3DXVECTOR3* out) const {
  const ZKW_VGeom2D_Curve* line = curve.Get();
  return line != nullptr && line->TangentAt(point, uv, out);
}

bool ZKW_VGeom2D_Stripe::IsClosed() const {
  const ZKW_VGeom2D_Curve* line = curve.Get();
  return line != nullptr && line->IsClosed();
}

bool ZKW_VGeom2D_Stripe::IsClosedV() const {
  const ZKW_VGeom2D_Curve* line = curve.Get();
  return line != nullptr && line->IsClosedV();
}

float ZKW_VGeom2D_Stripe::GetSpanAcross(float u) const {
  unsigned cursor = 1;
  return width.envelope.ValueAt(u, &cursor) * WidthFactor();
}

float ZKW_VGeom2D_Stripe::GetSpanAlong(float) const {
  const ZKW_VGeom2D_Curve* line = curve.Get();
  return line != nullptr ? line->Length() : 0.0f;
}

bool ZKW_VGeom2D_Stripe::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitStripe(*this);
}
