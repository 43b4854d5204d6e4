#include "objects/sprites/ds_grass_constructor.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/math/ratio.h"
#include "objects/sprites/sprite_preset_rules.h"

DS_GrassConstructor::DS_GrassConstructor() {
  timing.flags |= ZKW_SmartTiming::kKindMarker;
  tag = 6;
  timing.timeMode.SetValue(2);
}

bool DS_GrassConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_GrassConstructor", kVersion);
  archive.io().WriteFloat(swayAmplitude);
  return DS_BaseSpriteProp::Save(archive);
}

bool DS_GrassConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadFloat(swayAmplitude);
  return DS_BaseSpriteProp::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_GrassConstructor::CreateRuntimeObject() {
  return MakeSpriteArrayObject(*this);
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_GrassConstructor::Clone() const {
  return std::make_unique<DS_GrassConstructor>(*this);
}

uint32_t DS_GrassConstructor::ApplyOpacity(uint32_t colour) {
  return FadingOpacity(*this, colour);
}

void DS_GrassConstructor::SpawnParticle(SpriteRecord& sprite) {
  const float left = LeftPixels();
  sprite.centre.x = left + crt_rand_unit() * (RightPixels() - left);
  sprite.velocity.z = sprite.centre.x;
  sprite.centre.y = BottomPixels() - sprite.halfHeight;
  sprite.velocity.y = crt_rand_unit() * 1.5707964f;
  sprite.axis1 = D3DXVECTOR3(crt_rand() % 2 == 0 ? 1.0f : -1.0f, 0, 0);
}

void DS_GrassConstructor::UpdateParticle(SpriteRecord& sprite) {
  // The wave takes the blade's present centre, which moves with its lean.
  const float across = RatioOr0(sprite.centre.x, static_cast<float>(SceneWidth()));
  const float s = std::sin(motionElapsed + sprite.velocity.y + across * 2.0f * 3.1415927f);
  const float k = SwayLean(s, swayAmplitude);
  sprite.axis2 = D3DXVECTOR3(k, 1, 0);
  sprite.centre.x = sprite.velocity.z - sprite.halfHeight * k;
}
