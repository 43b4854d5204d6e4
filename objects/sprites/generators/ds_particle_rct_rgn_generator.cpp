#include "objects/sprites/generators/ds_particle_rct_rgn_generator.h"

#include "core/crt_rand.h"
#include "player/document/scene_view.h"

bool DS_ParticleRctRgnGenerator::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ParticleRctRgnGenerator", kVersion);
  WriteMediaQuad(archive, region);
  return DS_TexParticleGenerator::Save(archive);
}

bool DS_ParticleRctRgnGenerator::ReadRegionAndBase(DS_IOF_Archive& archive) {
  ReadMediaQuad(archive, region);
  return DS_TexParticleGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

bool DS_ParticleRctRgnGenerator::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  return ReadRegionAndBase(archive);
}

void DS_ParticleRctRgnGenerator::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_TexParticleGenerator::AttachRuntimeObject(obj);
  if (keepGuid != 0) return;
  const SceneView* view = GetSceneView();
  const float w = static_cast<float>(view->pictureWidth);
  const float h = static_cast<float>(view->pictureHeight);
  region.SetRect(w, h, D3DXVECTOR3(w * 0.5f, h * 0.5f, 0.0f));
}

D3DXVECTOR3 DS_ParticleRctRgnGenerator::RandomPoint() const {
  const D3DXVECTOR3& c0 = region.corners[0].Value();
  const D3DXVECTOR3& c3 = region.corners[3].Value();
  const float y = c0.y + crt_rand_unit() * (c3.y - c0.y);
  const float x = c0.x + crt_rand_unit() * (c3.x - c0.x);
  return D3DXVECTOR3(x, y, 0.0f);
}
