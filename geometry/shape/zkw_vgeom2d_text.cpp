#include "geometry/shape/zkw_vgeom2d_text.h"

#include "core/archive/vector_io.h"
#include "geometry/shape/zkw_vgeom2d_visitor.h"

bool ZKW_VGeom2D_Text::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D_Text", 1);
  style.Save(archive);
  WriteVector3(archive.io(), offset.Value());
  return ZKW_VGeom2D_Freeform::Save(archive);
}

void ZKW_VGeom2D_Text::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  style.Read(archive);
  ReadVector3(archive.io(), offset.RawValue());
  ZKW_VGeom2D_Freeform::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_Text::Clone() const {
  return std::make_unique<ZKW_VGeom2D_Text>(*this);
}

bool ZKW_VGeom2D_Text::RandomPoint(D3DXVECTOR3* point, float uv[2]) const {
  ZKW_VGeom2D_Freeform::RandomPoint(point, uv);
  *point += offset.Value();
  return true;
}

D3DXVECTOR3* ZKW_VGeom2D_Text::GetCenter(D3DXVECTOR3* out) const {
  *out = offset.Value();
  return out;
}

bool ZKW_VGeom2D_Text::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitText(*this);
}
