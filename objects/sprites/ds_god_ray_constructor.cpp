#include "objects/sprites/ds_god_ray_constructor.h"

#include <cmath>

#include "core/crt_rand.h"
#include "objects/sprites/sprite_preset_rules.h"

DS_GodRayConstructor::~DS_GodRayConstructor() = default;

bool DS_GodRayConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_GodRayConstructor", kVersion);
  archive.io().WriteUInt32(rayAngle.Value());
  return DS_BaseSpriteProp::Save(archive);
}

bool DS_GodRayConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadUInt32(rayAngle.RawValue());
  return DS_BaseSpriteProp::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_GodRayConstructor::CreateRuntimeObject() {
  return MakeSpriteArrayObject(*this);
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_GodRayConstructor::Clone() const {
  return std::make_unique<DS_GodRayConstructor>(*this);
}

void DS_GodRayConstructor::SpawnParticle(SpriteRecord& sprite) {
  const float l = LeftPixels();
  sprite.centre.x = l + crt_rand_unit() * (RightPixels() - l);
  sprite.centre.y = (BottomPixels() - TopPixels()) * 0.5f;
  sprite.centre.z = 0.0f;
  sprite.velocity = D3DXVECTOR3(crt_rand_unit() * 20.0f - 10.0f, 0.0f, 0.0f);
  sprite.directionSigns = D3DXVECTOR3();
  sprite.halfWidth = static_cast<float>(size.Value()) * 0.5f;
  sprite.halfHeight = static_cast<float>(SceneHeight()) * 0.5f;
  // The ray leans by cot(t) per unit of height; angles 0 and 180 lie almost flat.
  const int64_t angle = rayAngle.Value();
  const int64_t degrees = angle < 180 ? 180 - angle : 360 - angle;
  const float t = static_cast<float>(degrees) * 2.0f * 3.1415927f / 360.0f;
  sprite.axis2 = D3DXVECTOR3(1.0f / std::tan(t), 1.0f, 0.0f);
  sprite.alphaFactor = crt_rand_unit();
}

void DS_GodRayConstructor::UpdateParticle(SpriteRecord& sprite) {
  if (motionElapsed - sprite.eventTime > 0.25f) {
    sprite.eventTime = motionElapsed;
    if (crt_rand() % 2 == 1) sprite.velocity = D3DXVECTOR3(crt_rand_unit() * 20.0f - 10.0f, 0, 0);
  }
  sprite.centre.x += sprite.velocity.x * motionStep;
  sprite.centre.y += sprite.velocity.y * motionStep;
  ApplyPulse(*this, sprite, true);
}
