#include "objects/sprites/ds_rain_constructor.h"

#include <utility>

#include "core/crt_rand.h"
#include "objects/sprites/sprite_preset_rules.h"
#include "platform/math/d3dx_math.h"

DS_RainConstructor::DS_RainConstructor() {
  directionAngle.RawValue() = 270;
  wobbleAmplitude.SetValue(0);
  speed = 2000.0f;
  sizeFactorMin = 0.5f;
  sizeFactorMax = 1.0f;
  orientationMode.SetValue(1);
  D3DXMatrixRotationZ(&dropTurn, 4.712389f);
}

bool DS_RainConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_RainConstructor", kVersion);
  return DS_FlowConstructor::Save(archive);
}

bool DS_RainConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  return DS_FlowConstructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_RainConstructor::Clone() const {
  return std::make_unique<DS_RainConstructor>(*this);
}

bool DS_RainConstructor::SplitExportBlock(int& frames) {
  return frames > 1;
}

void DS_RainConstructor::SpawnParticle(SpriteRecord& sprite) {
  DS_FlowConstructor::SpawnParticle(sprite);
  sprite.alphaFactor = crt_rand_unit();
  InitSprite(sprite);
  if (orientationMode.Value() == 1) {
    const D3DXVECTOR3 axis1 = sprite.axis1, axis2 = sprite.axis2;
    D3DXVec3TransformCoord(&sprite.axis1, &axis1, &dropTurn);
    D3DXVec3TransformCoord(&sprite.axis2, &axis2, &dropTurn);
  }
  sprite.boundSide = -1;
  sprite.reentered = 0;
  sprite.waiting = 0;
  sprite.edgeAlpha = 1.0f;
}

void DS_RainConstructor::UpdateParticle(SpriteRecord& sprite) {
  // The controls fade the drop's edge alpha; the pulse alone is drawn.
  std::swap(sprite.alphaFactor, sprite.edgeAlpha);
  DS_FlowConstructor::UpdateParticle(sprite);
  std::swap(sprite.alphaFactor, sprite.edgeAlpha);
  ApplyPulse(*this, sprite, true);
}
