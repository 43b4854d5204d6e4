#include "objects/sprites/generators/ds_firework.h"

#include <limits>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/math/random_direction.h"
#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/generators/particle_processes.h"

DS_Firework::DS_Firework() {
  lifetime.SetScale(0.01f, 0.0f);
  emissionRate.SetScale(2.0f, 1.0f);
  auxiliary.SetScale(0.1f, 0.0f);
}

void DS_Firework::AttachRuntimeObject(DS_ParticlesObj& obj) {
  CreateMaskTarget();
  DS_StaticGenerator::AttachRuntimeObject(obj);
  sources.clear();
  obj.SetLayerCount(2);
}

int DS_Firework::NeedsTarget() const {
  return CanDrawMask() ? 1 : 0;
}

void DS_Firework::Update(float t, DS_ParticlesObj& obj) {
  const float dt = Step(ownSpeed, t);
  StepSparks(dt, ownSpeed.localTime);
  FillLayers(obj);
}

void DS_Firework::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  RenderTwoMasks(renderer, obj);
}

void DS_Firework::AddSpark(float seconds) {
  if (sources.size() >= kMaxParticlesPerList) return;
  GeneratorParticle spark(position.Value());
  InitSpark(spark, seconds);
  sources.push_back(std::move(spark));
}

void DS_Firework::StepSparks(float dt, float t) {
  ProcessParticleList(dt, sources);
  ProcessParticleList(dt, particles);
  EmitAlongSources(t);
  const ZKW_Timing* timeline = timing.Current();
  if (timing.Kind() != 0) {
    const TimingState state = timeline != nullptr ? timeline->GetState() : TimingState::Shown;
    if (armed != 0 && state != TimingState::Hidden) {
      const float cycle = timeline != nullptr ? timeline->GetCycleLength() : 0.0f;
      for (unsigned i = 0; i < sparkCount.Value() && sources.size() < kMaxParticlesPerList; ++i)
        AddSpark(cycle);
      armed = 0;
    }
    if (state == TimingState::Hidden) armed = 1;
    return;
  }
  if (t > nextSparkTime) {
    AddSpark(0.5f);
    // With no sparks per half second only the first is thrown.
    nextSparkTime = sparkCount.Value() == 0 ? std::numeric_limits<float>::infinity()
                                            : t + 0.5f / static_cast<float>(sparkCount.Value());
  }
}

void DS_Firework::FillLayers(DS_ParticlesObj& obj) {
  const size_t total = std::min<size_t>(sources.size() + particles.size(), kMaxParticlesPerList);
  const unsigned n = static_cast<unsigned>(total);
  if (!obj.LockLayerPair(n)) return;
  const float v = timing.TimelineValue();
  const float size = static_cast<float>(sparkSize.Value());
  const float glow = size * glowSize.Scaled();
  unsigned i = 0;
  for (const auto* list : {&sources, &particles}) {
    const float factor = list == &sources ? v : 1.0f;
    for (const GeneratorParticle& p : *list) {
      if (i == n) break;
      obj.WriteSpriteQuad(0, i, p, size, factor, colour1);
      obj.WriteSpriteQuad(1, i, p, glow, factor, colour2);
      ++i;
    }
  }
  obj.UnlockLayer(1);
  obj.UnlockLayer(0);
}

bool DS_FireworkSimple::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_FireworkSimple", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(sparkCount.Value());
  io.WriteUInt32(sparkSize.Value());
  io.WriteUInt32(sparkSpeed.Value());
  io.WriteUInt32(glowSize.Value());
  return DS_ParticleOriginGenerator::Save(archive);
}

bool DS_FireworkSimple::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(sparkCount.RawValue());
  io.ReadUInt32(sparkSize.RawValue());
  ReadChangedUInt32(archive, sparkSpeed);
  ReadChangedUInt32(archive, glowSize);
  return DS_ParticleOriginGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_FireworkSimple::Clone() const {
  return std::make_unique<DS_FireworkSimple>(*this);
}

void DS_FireworkSimple::InitSpark(GeneratorParticle& spark, float seconds) {
  spark.channels[GeneratorParticle::kLife] = 0.0f;
  spark.channels[GeneratorParticle::kScale] = 1.0f;
  // A spark of no life dies at its first step.
  spark.AddProcess<PLifeConst>(seconds > 0.0f ? 1.0f / seconds : std::numeric_limits<float>::max());
  D3DXVECTOR3 velocity;
  RandomDirection3D(&velocity, sparkSpeed.Scaled(), 0.0f, 360.0f);
  spark.AddProcess<PKinetic>(velocity, D3DXVECTOR3(0.0f, sparkGravity.Scaled(), 0.0f));
}

void DS_FireworkSimple::InitParticle(GeneratorParticle& particle,
                                     const GeneratorParticle& /*source*/) {
  particle.channels[GeneratorParticle::kOpacity] = timing.TimelineValue();
  const float k = RatioOr0(1.0f, lifetime.Scaled());
  particle.AddProcess<PLifeConst>(lifetime.Scaled() > 0.0f ? k : std::numeric_limits<float>::max());
  particle.AddProcess<PSteady>(GeneratorParticle::kOpacity, 0.0f, 1.0f, -k);
  particle.AddProcess<PSteady>(GeneratorParticle::kScale, 0.0f, 1.0f, auxiliary.Scaled() * k);
  D3DXVECTOR3 velocity;
  RandomDirection3D(&velocity, startSpeed.Scaled() * crt_rand_unit(), 0.0f, 360.0f);
  particle.AddProcess<PKinetic>(velocity, D3DXVECTOR3());
}
