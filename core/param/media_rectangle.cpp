#include "core/param/media_rectangle.h"

#include <initializer_list>

#include "platform/math/d3dx_math.h"

D3DXVECTOR4 ClientPointInScene(float x, float y, const D3DXMATRIX& inverseView) {
  const D3DXVECTOR4 point(x, y, 0, 1);
  D3DXVECTOR4 p;
  D3DXVec4Transform(&p, &point, &inverseView);
  return p;
}

bool MediaRectangle::HitTest(float x, float y, const D3DXMATRIX& inverseView) const {
  const D3DXVECTOR4 p = ClientPointInScene(x, y, inverseView);
  return static_cast<float>(xMin.Value()) <= p.x && p.x <= static_cast<float>(xMax.Value()) &&
         static_cast<float>(yMin.Value()) <= p.y && p.y <= static_cast<float>(yMax.Value());
}

void ReadMediaRectangle(DS_IOF_Archive& archive, MediaRectangle& rect) {
  for (MediaParamTB<int>* value : std::initializer_list<MediaParamTB<int>*>{
           &rect.xMin, &rect.xMax, &rect.yMin, &rect.yMax, &rect.extra1, &rect.extra2})
    archive.io().ReadInt32(value->RawValue());
}

void WriteMediaRectangle(DS_IOF_Archive& archive, const MediaRectangle& rect) {
  for (const MediaParamTB<int>* value : std::initializer_list<const MediaParamTB<int>*>{
           &rect.xMin, &rect.xMax, &rect.yMin, &rect.yMax, &rect.extra1, &rect.extra2})
    archive.io().WriteInt32(value->Value());
}
