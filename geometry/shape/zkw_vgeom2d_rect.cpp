#include "geometry/shape/zkw_vgeom2d_rect.h"

#include <algorithm>
#include <cmath>

#include "geometry/shape/zkw_vgeom2d_visitor.h"

bool ZKW_VGeom2D_Rect::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D_Rect", 1);
  archive.io().WriteUInt32(width.Value());
  archive.io().WriteUInt32(height.Value());
  return ZKW_VGeom2D_Figure::Save(archive);
}

void ZKW_VGeom2D_Rect::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadUInt32(width.RawValue());
  archive.io().ReadUInt32(height.RawValue());
  ZKW_VGeom2D_Figure::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_Rect::Clone() const {
  return std::make_unique<ZKW_VGeom2D_Rect>(*this);
}

bool ZKW_VGeom2D_Rect::PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3*) const {
  const D3DXVECTOR3& c = Center();
  *point = {c.x + static_cast<float>(width.Value()) * (uv[0] - 0.5f),
            c.y + static_cast<float>(height.Value()) * (uv[1] - 0.5f), c.z};
  return true;
}

bool ZKW_VGeom2D_Rect::Contains(const D3DXVECTOR3& p) const {
  const D3DXVECTOR3& c = Center();
  return static_cast<float>(width.Value()) >= std::fabs(2.0f * (p.x - c.x)) &&
         static_cast<float>(height.Value()) >= std::fabs(2.0f * (p.y - c.y));
}

bool ZKW_VGeom2D_Rect::ClipRay(const D3DXVECTOR3& p, const D3DXVECTOR3& d,
                               D3DXVECTOR3* exit) const {
  if (!Contains(p)) return false;
  const D3DXVECTOR3& c = Center();
  const float w = static_cast<float>(width.Value());
  const float h = static_cast<float>(height.Value());
  // In corner coordinates, with the origin at the corner (cx - W/2, cy - H/2).
  const float lx = w / 2 + (p.x - c.x);
  const float ly = h / 2 + (p.y - c.y);
  D3DXVECTOR3 out(lx, ly, p.z - c.z);
  if (d.x != 0.0f) {
    const float x = d.x > 0.0f ? w : 0.0f;
    const float y = (x - lx) * d.y / d.x + ly;
    if (y >= 0.0f && y <= h) out = {x, y, 0.0f};
  }
  // A ray that meets both sides in range leaves through the y side.
  if (d.y != 0.0f) {
    const float y = d.y > 0.0f ? h : 0.0f;
    const float x = (y - ly) * d.x / d.y + lx;
    if (x >= 0.0f && x <= w) out = {x, y, 0.0f};
  }
  *exit = out + D3DXVECTOR3(c.x - w / 2, c.y - h / 2, c.z);
  return true;
}

D3DXVECTOR3* ZKW_VGeom2D_Rect::NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& p) const {
  const D3DXVECTOR3& c = Center();
  const float halfW = static_cast<float>(width.Value()) / 2;
  const float halfH = static_cast<float>(height.Value()) / 2;
  const float dx = p.x - c.x;
  const float dy = p.y - c.y;
  const float ex = std::min(halfW - dx, halfW + dx);
  const float ey = std::min(halfH - dy, halfH + dy);
  if (ey > ex) {
    *out = {std::copysign(1.0f, dx), 0.0f, 0.0f};
  } else {
    *out = {0.0f, std::copysign(1.0f, dy), 0.0f};
  }
  return out;
}

bool ZKW_VGeom2D_Rect::TangentAt(const D3DXVECTOR3&, const float*, D3DXVECTOR3* out) const {
  *out = {1.0f, 0.0f, 0.0f};
  return true;
}

float ZKW_VGeom2D_Rect::GetSpanAcross(float) const {
  return static_cast<float>(height.Value());
}

float ZKW_VGeom2D_Rect::GetSpanAlong(float) const {
  return static_cast<float>(width.Value());
}

bool ZKW_VGeom2D_Rect::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitRect(*this);
}

void ZKW_VGeom2D_Rect::AttachParamCallbacks(OwnedControlList& list,
                                            const std::function<void()>& callback) {
  WatchParams(list, callback, {&width, &height});
}
