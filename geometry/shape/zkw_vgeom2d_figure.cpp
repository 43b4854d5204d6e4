#include "geometry/shape/zkw_vgeom2d_figure.h"

#include "core/archive/vector_io.h"
#include "core/param/owned_control_list.h"

bool ZKW_VGeom2D_Figure::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D_Figure", 1);
  WriteVector3(archive.io(), position.Value());
  return ZKW_VGeom2D::Save(archive);
}

void ZKW_VGeom2D_Figure::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadVector3(archive.io(), position.RawValue());
  ReadBaseHeader(archive);
}

D3DXVECTOR3* ZKW_VGeom2D_Figure::GetCenter(D3DXVECTOR3* out) const {
  *out = position.Value();
  return out;
}

D3DXVECTOR3* ZKW_VGeom2D_Figure::NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3&) const {
  *out = {1.0f, 0.0f, 0.0f};
  return out;
}

void ZKW_VGeom2D_Figure::WatchParams(OwnedControlList& list, const std::function<void()>& callback,
                                     std::initializer_list<MediaParam*> params) {
  list.Watch(position, callback);
  for (MediaParam* param : params)
    list.Watch(*param, callback);
}
