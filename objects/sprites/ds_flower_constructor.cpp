#include "objects/sprites/ds_flower_constructor.h"

#include <cmath>

#include "objects/sprites/sprite_preset_rules.h"
#include "platform/math/d3dx_math.h"

DS_FlowerConstructor::DS_FlowerConstructor() {
  timing.flags |= ZKW_SmartTiming::kKindMarker;
  tag = 6;
  timing.timeMode.SetValue(2);
}

bool DS_FlowerConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_FlowerConstructor", kVersion);
  archive.io().WriteFloat(swayAmplitude);
  return DS_StatObjConstructor::Save(archive);
}

bool DS_FlowerConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadFloat(swayAmplitude);
  return DS_StatObjConstructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_FlowerConstructor::Clone() const {
  return std::make_unique<DS_FlowerConstructor>(*this);
}

uint32_t DS_FlowerConstructor::ApplyOpacity(uint32_t colour) {
  return FadingOpacity(*this, colour);
}

void DS_FlowerConstructor::UpdateParticle(SpriteRecord& sprite) {
  const float k = SwayLean(std::sin(speed.localTime), swayAmplitude);
  const D3DXVECTOR3 lean(k, 1, 0);
  D3DXVec3TransformCoord(&sprite.axis2, &lean, &rotationMatrix);
  sprite.centre.x = static_cast<float>(PlacementX()) - sprite.axis1.x * sprite.halfHeight * k;
  sprite.centre.y = static_cast<float>(PlacementY()) - sprite.axis1.y * sprite.halfHeight * k;
}
