#include "core/param/media_quad.h"

void MediaQuad::SetRect(float width, float height, const D3DXVECTOR3& centre) {
  const float w = width * 0.5f;
  const float h = height * 0.5f;
  corners[0].RawValue() = {centre.x - w, centre.y - h, centre.z};
  corners[1].RawValue() = {centre.x - w, centre.y + h, centre.z};
  corners[2].RawValue() = {centre.x + w, centre.y - h, centre.z};
  corners[3].RawValue() = {centre.x + w, centre.y + h, centre.z};
}

void ReadMediaQuad(DS_IOF_Archive& archive, MediaQuad& quad) {
  for (auto& corner : quad.corners) {
    D3DXVECTOR3& v = corner.RawValue();
    archive.io().ReadFloat(v.x);
    archive.io().ReadFloat(v.y);
    archive.io().ReadFloat(v.z);
  }
}

void WriteMediaQuad(DS_IOF_Archive& archive, const MediaQuad& quad) {
  for (const auto& corner : quad.corners) {
    archive.io().WriteFloat(corner.Value().x);
    archive.io().WriteFloat(corner.Value().y);
    archive.io().WriteFloat(corner.Value().z);
  }
}
