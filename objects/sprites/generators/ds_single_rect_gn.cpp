#include "objects/sprites/generators/ds_single_rect_gn.h"

#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/generators/generator_quads.h"

bool DS_SingleRectGN::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_SingleRectGN", kVersion);
  WriteMediaQuad(archive, rectangle);
  return DS_StaticGenerator::Save(archive);
}

bool DS_SingleRectGN::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadMediaQuad(archive, rectangle);
  if (version < 2) {
    float dropped = 0.0f;
    archive.io().ReadFloat(dropped);
    archive.io().ReadFloat(dropped);
  }
  return DS_StaticGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_SingleRectGN::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_StaticGenerator::AttachRuntimeObject(obj);
  obj.SetLayerCount(1);
  obj.SetQuadCount(0, 1);
  BuildQuad(obj);
}

void DS_SingleRectGN::BuildQuad(DS_ParticlesObj& obj) {
  if (!obj.LockLayer(0)) return;
  QuadVertices quad;
  const int order[4] = {1, 0, 3, 2};
  const float u[4] = {0, 0, 1, 1}, v[4] = {1, 0, 1, 0};
  for (int i = 0; i < 4; ++i) {
    const D3DXVECTOR3& corner = rectangle.corners[order[i]].Value();
    quad[i] = {corner.x, corner.y, corner.z, 0, u[i], v[i]};
    if (thirdMode.Value() != 0) quad[i].u = 1.0f - u[i];
    if (secondMode.Value() != 0) quad[i].v = 1.0f - v[i];
  }
  ColourQuad(quad, colour1, 1.0f);
  obj.WriteQuad(0, 0, quad);
  obj.UnlockLayer(0);
}
