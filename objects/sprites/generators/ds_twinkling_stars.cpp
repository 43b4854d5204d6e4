#include "objects/sprites/generators/ds_twinkling_stars.h"

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/generators/particle_processes.h"

DS_TwinklingStars::DS_TwinklingStars() {
  twinkleSpeed.SetScale(0.01f, 1.0f);
}

bool DS_TwinklingStars::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_TwinklingStars", kVersion);
  archive.io().WriteUInt32(twinkleSpeed.Value());
  return DS_AirBrush::Save(archive);
}

bool DS_TwinklingStars::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadChangedUInt32(archive, twinkleSpeed);
  return DS_AirBrush::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_TwinklingStars::Clone() const {
  return std::make_unique<DS_TwinklingStars>(*this);
}

void DS_TwinklingStars::AttachTwinkle(GeneratorParticle& star) {
  star.AddProcess<PTwinkle>(GeneratorParticle::kScale, 0.0f,
                            star.channels[GeneratorParticle::kScale], 0.0f);
}

void DS_TwinklingStars::AddParticle(const D3DXVECTOR3& position, float a, float /*b*/, float /*c*/,
                                    float /*d*/) {
  if (dabs.size() >= kMaxParticlesPerList) return;
  GeneratorParticle star(position);
  star.channels[GeneratorParticle::kScale] = a;
  star.channels[GeneratorParticle::kOpacity] = 0.5f + crt_rand_unit() * 0.5f;
  AttachTwinkle(star);
  dabs.push_back(std::move(star));
}

void DS_TwinklingStars::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_TexParticleGenerator::AttachRuntimeObject(obj);
  obj.SetLayerCount(1);
  CreateMaskTarget();
  // Stars added to the description carry their twinkle into the clone: each gets exactly one.
  for (GeneratorParticle& star : dabs) {
    star.ClearProcesses();
    AttachTwinkle(star);
  }
}

void DS_TwinklingStars::Update(float t, DS_ParticlesObj& /*obj*/) {
  RunDabProcesses(dabs, Step(twinkleSpeed, t));
  FillLayer();
}
