#include "objects/sprites/ds_lighting_constructor.h"

#include "core/crt_rand.h"
#include "core/timing/random_timeline_params.h"
#include "objects/sprites/sprite_preset_rules.h"
#include "platform/math/d3dx_math.h"

DS_LightingConstructor::DS_LightingConstructor() {
  blendMode.SetValue(1);
  viewFlag = true;
}

bool DS_LightingConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_LightingConstructor", kVersion);
  archive.io().WriteUInt32(pauseMin.Value());
  archive.io().WriteUInt32(pauseMax.Value());
  return DS_BaseSpriteProp::Save(archive);
}

bool DS_LightingConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version > 1) {
    archive.io().ReadUInt32(pauseMin.RawValue());
    archive.io().ReadUInt32(pauseMax.RawValue());
  }
  const bool result = DS_BaseSpriteProp::ReadBody(archive, ReadBaseHeader(archive));
  timing.flags &= ~ZKW_SmartTiming::kKindMarker;
  timing.SetValue(1);
  return result;
}

std::unique_ptr<ZKW_RenderObj> DS_LightingConstructor::CreateRuntimeObject() {
  return MakeSpriteArrayObject(*this);
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_LightingConstructor::Clone() const {
  return std::make_unique<DS_LightingConstructor>(*this);
}

uint32_t DS_LightingConstructor::ApplyOpacity(uint32_t colour) {
  return colour;
}

void DS_LightingConstructor::Place(SpriteRecord& sprite) const {
  ApplyHalfSize(sprite);
  const float left = LeftPixels() + sprite.halfWidth, right = RightPixels() - sprite.halfWidth;
  const float top = TopPixels() + sprite.halfHeight, bottom = BottomPixels() - sprite.halfHeight;
  sprite.centre.x = left + crt_rand_unit() * (right - left);
  sprite.centre.y = top + crt_rand_unit() * (bottom - top);
  sprite.centre.z = 0.0f;
  D3DXMATRIX turn;
  D3DXMatrixRotationZ(&turn, crt_rand_unit() * 0.7853982f - 0.3926991f);
  const float mirror = crt_rand() % 2 == 0 ? 1.0f : -1.0f;
  const D3DXVECTOR3 x(mirror, 0, 0), y(0, 1, 0);
  D3DXVec3TransformCoord(&sprite.axis1, &x, &turn);
  D3DXVec3TransformCoord(&sprite.axis2, &y, &turn);
}

void DS_LightingConstructor::SpawnParticle(SpriteRecord& sprite) {
  Place(sprite);
  sprite.alphaFactor = 0.0f;
}

void DS_LightingConstructor::UpdateParticle(SpriteRecord& sprite) {
  if (sprite.alphaFactor == 0.0f) {
    // Dark: the pause runs on the local time.
    if (motionLastTime - sprite.eventTime > sprite.pauseLength) {
      Place(sprite);
      sprite.alphaFactor = 1.0f;
      sprite.eventTime = motionElapsed;
    }
  } else {
    sprite.alphaFactor -= motionStep * 6.0f;
    if (motionElapsed - sprite.eventTime > 0.15f) {
      sprite.eventTime = motionElapsed;
      if (crt_rand() % 2 == 1) sprite.alphaFactor = 1.0f;
    }
  }
  if (sprite.alphaFactor < 0.0f) {
    sprite.alphaFactor = 0.0f;
    sprite.eventTime = motionLastTime;
    // The range is taken in 64 bits: the full unsigned range cannot divide by zero.
    sprite.pauseLength = PickRandomSeconds(pauseMin.Value(), pauseMax.Value());
  }
  sprite.colour = SpriteColour(sprite.alphaFactor);
}
