#include "objects/sprites/ds_fish_constructor.h"

#include <cmath>

#include "core/crt_rand.h"
#include "objects/sprites/sprite_preset_rules.h"

bool DS_FishConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_FishConstructor", kVersion);
  archive.io().WriteFloat(horizontalSpeed);
  archive.io().WriteFloat(verticalSpeed);
  return DS_BaseSpriteProp::Save(archive);
}

bool DS_FishConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadFloat(horizontalSpeed);
  archive.io().ReadFloat(verticalSpeed);
  return DS_BaseSpriteProp::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_FishConstructor::CreateRuntimeObject() {
  return MakeSpriteArrayObject(*this);
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_FishConstructor::Clone() const {
  return std::make_unique<DS_FishConstructor>(*this);
}

bool DS_FishConstructor::SplitExportBlock(int& /*frames*/) {
  return SplitOnFrameEvent(*this);
}

float DS_FishConstructor::RandomSpeed(float speed) {
  return -speed + crt_rand_unit() * 2.0f * speed;
}

void DS_FishConstructor::SpawnParticle(SpriteRecord& sprite) {
  const float vx = RandomSpeed(horizontalSpeed);
  const float vy = RandomSpeed(verticalSpeed);
  sprite.velocity = D3DXVECTOR3(vx, vy, 0.0f);
  sprite.directionSigns = D3DXVECTOR3();
  RandomPointInView(sprite.centre);
  ApplyHalfSize(sprite);
  sprite.colour = SpriteColour(sprite.alphaFactor);
  if (sprite.velocity.x < 0.0f) sprite.halfWidth = -sprite.halfWidth;
}

void DS_FishConstructor::UpdateParticle(SpriteRecord& sprite) {
  D3DXVECTOR3& v = sprite.velocity;
  sprite.centre.x += v.x * motionStep;
  sprite.centre.y += v.y * motionStep;

  // Sides: only once the whole sprite is beyond one; it then faces back in.
  const float h = std::fabs(sprite.halfWidth);
  if (LeftPixels() > sprite.centre.x + h) {
    v.x = std::fabs(v.x);
    sprite.halfWidth = h;
    frameEvent = true;
  } else if (sprite.centre.x - h > RightPixels()) {
    v.x = -std::fabs(v.x);
    sprite.halfWidth = -h;
    frameEvent = true;
  }
  // Top and bottom: as soon as its edge is beyond one.
  if (TopPixels() > sprite.centre.y - sprite.halfHeight) {
    v.y = std::fabs(v.y);
    frameEvent = true;
  } else if (sprite.centre.y + sprite.halfHeight > BottomPixels()) {
    v.y = -std::fabs(v.y);
    frameEvent = true;
  }

  // Re-aim on the local time; the heading stays, so a fish turns back only at the sides.
  if (motionLastTime - sprite.eventTime > 1.0f) {
    sprite.eventTime = motionLastTime;
    if (crt_rand() % 2 == 1) {
      const float vx = std::copysign(RandomSpeed(horizontalSpeed), v.x);
      const float vy = RandomSpeed(verticalSpeed);
      v = D3DXVECTOR3(vx, vy, 0.0f);
      frameEvent = true;
    }
  }
}
