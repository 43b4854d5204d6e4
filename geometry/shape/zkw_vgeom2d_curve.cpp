#include "geometry/shape/zkw_vgeom2d_curve.h"

#include <memory>

bool ZKW_VGeom2D_Curve::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D_Curve", 2);
  return ZKW_VGeom2D::Save(archive);
}

void ZKW_VGeom2D_Curve::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version < 2) {
    uint32_t dropped = 0;  // a field of version 1 that is no longer kept
    archive.io().ReadUInt32(dropped);
  }
  ReadBaseHeader(archive);
}

bool ZKW_VGeom2D_Curve::PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3* direction) const {
  return curve_.PointAtLength(Length() * uv[0], 0.0f, point, direction);
}

D3DXVECTOR3* ZKW_VGeom2D_Curve::GetCenter(D3DXVECTOR3* out) const {
  D3DXVECTOR3 direction;
  curve_.PointAtLength(Length() * 0.5f, 0.0f, out, &direction);
  return out;
}

D3DXVECTOR3* ZKW_VGeom2D_Curve::NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const {
  D3DXVECTOR3 tangent;
  if (curve_.ClosestPoint(point, nullptr, &tangent)) {
    *out = {tangent.y, -tangent.x, 0.0f};
  } else {
    *out = {1.0f, 0.0f, 0.0f};
  }
  return out;
}

bool ZKW_VGeom2D_Curve::TangentAt(const D3DXVECTOR3&, const float* uv, D3DXVECTOR3* out) const {
  return curve_.DirectionAtLength(Length() * uv[0], out);
}

DS_SafePtr<ZKW_VGeom2D_Curve> ZKW_VGeom2D_Curve::ConvertTo(const char* utf8Name) const {
  return DS_SafePtr<ZKW_VGeom2D_Curve>(AsCurveShape(CreateVGeom2DByName(utf8Name)));
}

float ZKW_VGeom2D_Curve::Length() const {
  return curve_.TotalLength();
}

bool ZKW_VGeom2D_Curve::PointAtLength(float length, float offset, D3DXVECTOR3* point,
                                      D3DXVECTOR3* direction) const {
  return curve_.PointAtLength(length, offset, point, direction);
}

DS_SafePtr<ZKW_VGeom2D_Curve> ZKW_VGeom2D_NodeDefined::ConvertTo(const char* utf8Name) const {
  DS_SafePtr<ZKW_VGeom2D_Curve> converted = ZKW_VGeom2D_Curve::ConvertTo(utf8Name);
  if (auto* target = dynamic_cast<ZKW_VGeom2D_NodeDefined*>(converted.Get())) {
    for (int i = 0; const DX_BSplinePnt* node = NodeAt(i); ++i)
      target->AppendNode(node);
  }
  return converted;
}

std::unique_ptr<ZKW_VGeom2D_Curve> AsCurveShape(std::unique_ptr<ZKW_VGeom2D> shape) {
  auto* curve = dynamic_cast<ZKW_VGeom2D_Curve*>(shape.get());
  if (curve == nullptr) return nullptr;
  shape.release();
  return std::unique_ptr<ZKW_VGeom2D_Curve>(curve);
}
