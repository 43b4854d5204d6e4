#include "objects/sprites/ds_sparkle_constructor.h"

#include "core/crt_rand.h"
#include "objects/sprites/sprite_preset_rules.h"

DS_SparkleConstructor::DS_SparkleConstructor() {
  viewFlag = true;
  timing.flags |= 1u;
  tag = 1;
}

bool DS_SparkleConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_SparkleConstructor", kVersion);
  return DS_BaseSpriteProp::Save(archive);
}

bool DS_SparkleConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  return DS_BaseSpriteProp::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_SparkleConstructor::CreateRuntimeObject() {
  return MakeSpriteArrayObject(*this);
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_SparkleConstructor::Clone() const {
  return std::make_unique<DS_SparkleConstructor>(*this);
}

void DS_SparkleConstructor::SpawnParticle(SpriteRecord& sprite) {
  const float vx = crt_rand_unit() * 50.0f - 25.0f;
  const float vy = crt_rand_unit() * 50.0f - 25.0f;
  sprite.velocity = D3DXVECTOR3(vx, vy, 0.0f);
  sprite.directionSigns = D3DXVECTOR3();
  RandomPointInView(sprite.centre);
  sprite.alphaFactor = crt_rand_unit();
}

void DS_SparkleConstructor::UpdateParticle(SpriteRecord& sprite) {
  sprite.centre.x += sprite.velocity.x * motionStep;
  sprite.centre.y += sprite.velocity.y * motionStep;
  ApplyPulse(*this, sprite, true);
  const float e = static_cast<float>(size.Value()) * sprite.sizeFactor * 0.25f;
  const float alpha = sprite.alphaFactor;
  sprite.halfWidth = e * alpha + e;
  sprite.halfHeight = sprite.halfWidth * 0.5f * alpha + e;
}
