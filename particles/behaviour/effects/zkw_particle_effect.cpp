#include "particles/behaviour/effects/zkw_particle_effect.h"

#include <algorithm>

bool ZKW_ParticlSystem_Effect::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ParticlSystem_Effect", 3);
  archive.io().WriteWideString(name);
  archive.io().WriteWideString(zkw_string());
  archive.io().WriteBool(useClockTime);
  return true;
}

bool ZKW_ParticlSystem_Effect::ReadFields(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadWideString(name);
  if (version > 1) {
    zkw_string linkName;
    archive.io().ReadWideString(linkName);
  }
  if (version > 2) archive.io().ReadBool(useClockTime);
  return true;
}

void PtclTr_EffectsVector::Restart(ParticleRecord* particle) {
  clones_.clear();
  if (effects_ == nullptr) return;
  for (const DS_SafePtr<ZKW_ParticlSystem_Effect>& effect : effects_->Value()) {
    if (!effect) continue;
    std::unique_ptr<ZKW_ParticlSystem_Effect> clone = effect->Clone();
    clone->PrepareParticle(particle);
    clones_.push_back(std::move(clone));
  }
}

bool PtclTr_EffectsVector::Apply(float dt, ParticleRecord* particle) {
  MediaSpeedParam& clock = context_.clock;
  clock.step = clock.Scaled() * (dt > 0.0f ? std::min(dt, 0.2f) : 0.0f);
  clock.localTime += clock.step;
  for (const std::unique_ptr<ZKW_ParticlSystem_Effect>& clone : clones_)
    clone->ApplyToParticle(&context_, particle);
  return true;
}
