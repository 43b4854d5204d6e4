#include "objects/sprites/generators/ds_particle_generator.h"

#include <algorithm>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/math/random_direction.h"
#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/generators/particle_processes.h"

DS_ParticleGenerator::DS_ParticleGenerator() {
  speed.SetScale(0.02f, 0.0f);
  speed.SetValue(50);
}

bool DS_ParticleGenerator::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ParticleGenerator", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteDword(static_cast<uint32_t>(sources.size()));
  for (const GeneratorParticle& source : sources) {
    io.WriteFloat(source.position.x);
    io.WriteFloat(source.position.y);
    io.WriteFloat(source.position.z);
  }
  io.WriteUInt32(lifetime.Value());
  io.WriteUInt32(emissionRate.Value());
  io.WriteUInt32(auxiliary.Value());
  io.WriteUInt32(startSpeed.Value());
  io.WriteInt32(emissionSwitch.Value());
  return DS_ABObj_Constructor::Save(archive);
}

bool DS_ParticleGenerator::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  if (version > 1) {
    uint32_t n = 0;
    io.ReadDword(n);
    if (io.CountFits(n, 3 * sizeof(float))) {
      for (uint32_t i = 0; i < n && !io.Failed(); ++i) {
        D3DXVECTOR3 at;
        io.ReadFloat(at.x);
        io.ReadFloat(at.y);
        io.ReadFloat(at.z);
        sources.emplace_back(at);
      }
    }
  }
  if (version > 2) {
    ReadChangedUInt32(archive, lifetime);
    ReadChangedUInt32(archive, emissionRate);
    ReadChangedUInt32(archive, auxiliary);
    ReadChangedUInt32(archive, startSpeed);
    io.ReadInt32(emissionSwitch.RawValue());
  } else {
    lifetime.SetValue(20);
    emissionRate.SetValue(30);
    auxiliary.SetValue(0);
    startSpeed.SetValue(0);
    emissionSwitch.SetValue(0);
  }
  return DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_ParticleGenerator::CreateRuntimeObject() {
  return std::make_unique<DS_ParticlesObj>(Clone());
}

float DS_ParticleGenerator::Step(MediaSpeedParam& clock, float t) {
  clock.Advance(t);
  return clock.step;
}

void DS_ParticleGenerator::Update(float t, DS_ParticlesObj& /*obj*/) {
  const float step = Step(speed, t);
  ProcessParticleList(step, sources);
  ProcessParticleList(step, particles);
}

void DS_ParticleGenerator::InitParticle(GeneratorParticle& particle,
                                        const GeneratorParticle& source) {
  particle.channels[GeneratorParticle::kOpacity] = source.channels[GeneratorParticle::kOpacity];
  const float life = lifetime.Scaled();
  particle.AddProcess<PAgeConst>(life);
  particle.AddProcess<PFade>(GeneratorParticle::kOpacity, 0.0f, life, -1.0f);
  D3DXVECTOR3 velocity;
  RandomDirection3D(&velocity, startSpeed.Scaled() * crt_rand_unit(), 0.0f, 360.0f);
  particle.AddProcess<PKinetic>(velocity, D3DXVECTOR3());
}

void DS_ParticleGenerator::EmitAlongSources(float t) {
  int n = emissionRate.TakeCount(t);
  if (emissionSwitch.Value() == 0 || n <= 0 || sources.empty()) return;
  n = std::min<int>(n, kMaxParticlesPerList);
  const float c = 1.0f / static_cast<float>(n + 1);
  for (GeneratorParticle& source : sources) {
    const D3DXVECTOR3 d = (source.position - source.previous) * c;
    for (int i = 1; i <= n && particles.size() < kMaxParticlesPerList; ++i) {
      GeneratorParticle particle(source.previous + d * static_cast<float>(i));
      InitParticle(particle, source);
      particles.push_back(std::move(particle));
    }
    source.SavePosition();
  }
}
