#include "objects/sprites/generators/ds_particle_origin_generator.h"

#include <algorithm>
#include <cmath>

#include "core/list_limits.h"
#include "core/param/param_reads.h"

DS_ParticleOriginGenerator::DS_ParticleOriginGenerator() {
  ownSpeed.SetScale(0.02f, 0.0f);
}

DS_ParticleOriginGenerator::DS_ParticleOriginGenerator(const DS_ParticleOriginGenerator& other)
    : DS_StaticGenerator(other),
      originLife(other.originLife),
      originRate(other.originRate),
      originSize(other.originSize),
      sector(other.sector),
      ownSpeed(other.ownSpeed),
      accumulator(other.accumulator) {}

bool DS_ParticleOriginGenerator::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ParticleOriginGenerator", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(originLife.Value());
  io.WriteUInt32(originRate.Value());
  io.WriteUInt32(originSize.Value());
  io.WriteUInt32(sector.Value());
  io.WriteUInt32(sector.spread.Value());
  io.WriteUInt32(ownSpeed.Value());
  return DS_StaticGenerator::Save(archive);
}

bool DS_ParticleOriginGenerator::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, originLife);
  io.ReadUInt32(originRate.RawValue());
  io.ReadUInt32(originSize.RawValue());
  io.ReadUInt32(sector.RawValue());
  sector.Recompute();
  if (version >= 2) io.ReadUInt32(sector.spread.RawValue());
  ReadChangedUInt32(archive, ownSpeed);
  return DS_StaticGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_ParticleOriginGenerator::Update(float t, DS_ParticlesObj& /*obj*/) {
  StepOrigins(Step(ownSpeed, t));
}

ParticleOrigin DS_ParticleOriginGenerator::NewOrigin() {
  ParticleOrigin origin;
  origin.life = originLife.Scaled();
  origin.position = position.Value();
  origin.velocity = sector.RandomDirection() * 100.0f;
  return origin;
}

void DS_ParticleOriginGenerator::StepOrigins(float dt) {
  for (ParticleOrigin& origin : origins) {
    origin.life -= dt;
    origin.RunBehaviours(dt);
  }
  std::erase_if(origins, [](const ParticleOrigin& origin) { return origin.life < 0.0f; });
  const double rate =
      static_cast<double>(timing.TimelineValue()) * static_cast<double>(originRate.Value());
  if (!(rate > 0.0)) return;
  accumulator += dt;
  // The count of whole intervals strictly inside the accumulator, as repeated subtraction of
  // 1 / rate would find it, without the float subtraction stalling at large rates.
  const double intervals = static_cast<double>(accumulator) * rate;
  double due = std::floor(intervals);
  if (due == intervals && due > 0.0) due -= 1.0;
  if (!(due > 0.0)) return;
  const size_t room = kMaxParticlesPerList - std::min<size_t>(origins.size(), kMaxParticlesPerList);
  if (due > static_cast<double>(room)) {
    for (size_t i = 0; i < room; ++i)
      origins.push_back(NewOrigin());
    accumulator = 0.0f;
    return;
  }
  accumulator = static_cast<float>(static_cast<double>(accumulator) - due / rate);
  for (size_t i = 0, n = static_cast<size_t>(due); i < n; ++i)
    origins.push_back(NewOrigin());
}
