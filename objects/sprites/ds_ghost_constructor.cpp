#include "objects/sprites/ds_ghost_constructor.h"

#include "core/crt_rand.h"
#include "objects/sprites/sprite_preset_rules.h"

DS_GhostConstructor::DS_GhostConstructor() {
  horizontalSpeed = 50.0f;
  verticalSpeed = 50.0f;
  pulseRate = 0.66f;
  transparency.SetValue(50);
  sizeFactorMin = sizeFactorMax = 1.0f;
  timing.flags |= ZKW_SmartTiming::kKindMarker;
  tag = 2;
  timing.timeMode.SetValue(1);
}

bool DS_GhostConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_GhostConstructor", kVersion);
  return DS_FishConstructor::Save(archive);
}

bool DS_GhostConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  const bool result = DS_FishConstructor::ReadBody(archive, ReadBaseHeader(archive));
  if (version < 2) UseFixedRandomTimeline(timing, 0, 0, 150, 150);
  return result;
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_GhostConstructor::Clone() const {
  return std::make_unique<DS_GhostConstructor>(*this);
}

void DS_GhostConstructor::SpawnParticle(SpriteRecord& sprite) {
  DS_FishConstructor::SpawnParticle(sprite);
  sprite.alphaFactor = crt_rand_unit();
}

void DS_GhostConstructor::UpdateParticle(SpriteRecord& sprite) {
  DS_FishConstructor::UpdateParticle(sprite);
  const ZKW_Timing* timeline = timing.Current();
  if (timeline != nullptr && timeline->GetState() == TimingState::Hidden) {
    reappear = 1;
  } else if (reappear != 0) {
    SpawnParticle(sprite);
    frameEvent = true;
    reappear = 0;
  }
  sprite.alphaFactor = TimelineValue();
  sprite.colour = SpriteColour(sprite.alphaFactor);
}
