#include "objects/sprites/ds_bird_constructor.h"

#include <cmath>

#include "core/crt_rand.h"

bool DS_BirdConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_BirdConstructor", kVersion);
  return DS_FishConstructor::Save(archive);
}

bool DS_BirdConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  return DS_FishConstructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_BirdConstructor::Clone() const {
  return std::make_unique<DS_BirdConstructor>(*this);
}

void DS_BirdConstructor::UpdateParticle(SpriteRecord& sprite) {
  DS_FishConstructor::UpdateParticle(sprite);
  D3DXVECTOR3& v = sprite.velocity;
  const float a = horizontalSpeed, b = verticalSpeed;
  // The signed speed: a slow climber turns downwards.
  if (std::fabs(v.y) < 0.7f * b) v.y = v.y * 0.3f / 0.7f + 0.7f * b;
  if (std::fabs(v.x) < 0.7f * a) v.x = std::copysign(0.7f * a + crt_rand_unit() * 0.3f * a, v.x);
}
