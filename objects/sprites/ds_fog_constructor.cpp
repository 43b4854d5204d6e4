#include "objects/sprites/ds_fog_constructor.h"

#include <cmath>

#include "core/crt_rand.h"
#include "objects/sprites/sprite_preset_rules.h"
#include "platform/math/d3dx_math.h"

DS_FogConstructor::DS_FogConstructor() {
  pulseMin = 0.2f;
  pulseMax = 1.0f;
  transparency.SetValue(50);
  timing.flags |= ZKW_SmartTiming::kKindMarker;
  tag = 2;
  timing.timeMode.SetValue(1);
}

bool DS_FogConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_FogConstructor", kVersion);
  archive.io().WriteFloat(horizontalSpeed);
  archive.io().WriteFloat(verticalSpeed);
  return DS_BaseSpriteProp::Save(archive);
}

bool DS_FogConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadFloat(horizontalSpeed);
  archive.io().ReadFloat(verticalSpeed);
  return DS_BaseSpriteProp::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_FogConstructor::CreateRuntimeObject() {
  return MakeSpriteArrayObject(*this);
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_FogConstructor::Clone() const {
  return std::make_unique<DS_FogConstructor>(*this);
}

void DS_FogConstructor::SpawnParticle(SpriteRecord& sprite) {
  RandomPointInView(sprite.centre);
  const float a = horizontalSpeed, b = verticalSpeed;
  sprite.velocity.x = -a + crt_rand_unit() * 2.0f * a;
  sprite.velocity.y = -b + crt_rand_unit() * 2.0f * b;
  sprite.alphaFactor = crt_rand_unit();
  D3DXMatrixRotationZ(&sprite.matrix, crt_rand_unit() * 0.008f - 0.004f);
}

void DS_FogConstructor::UpdateParticle(SpriteRecord& sprite) {
  D3DXVECTOR3& v = sprite.velocity;
  sprite.centre.x += v.x * motionStep;
  sprite.centre.y += v.y * motionStep;
  ApplyPulse(*this, sprite, false);
  if (sprite.centre.y > BottomPixels()) v.y = -std::fabs(v.y);
  if (TopPixels() > sprite.centre.y) v.y = std::fabs(v.y);
  if (LeftPixels() > sprite.centre.x) v.x = std::fabs(v.x);
  if (sprite.centre.x > RightPixels()) v.x = -std::fabs(v.x);
  // The same turn every frame, however long the frame.
  const D3DXVECTOR3 axis1 = sprite.axis1, axis2 = sprite.axis2;
  D3DXVec3TransformCoord(&sprite.axis1, &axis1, &sprite.matrix);
  D3DXVec3TransformCoord(&sprite.axis2, &axis2, &sprite.matrix);
}
