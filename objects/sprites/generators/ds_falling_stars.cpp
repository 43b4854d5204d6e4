#include "objects/sprites/generators/ds_falling_stars.h"

#include <algorithm>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/generators/particle_processes.h"

DS_FallingStars::DS_FallingStars() {
  lifetime.SetScale(0.01f, 0.0f);
  emissionRate.SetScale(2.0f, 0.0f);
  auxiliary.SetScale(0.01f, 0.0f);
  starRate.SetScale(0.02f, 0.0f);
}

bool DS_FallingStars::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_FallingStars", kVersion);
  DS_IOF_Virtual& io = archive.io();
  for (unsigned value :
       {fallSpeed.Value(), starRate.Value(), fallDirection.Value(), starSize.Value(),
        glowSize.Value(), shownTime.Value(), fadeInTime.Value(), fadeOutTime.Value()})
    io.WriteUInt32(value);
  WriteMediaQuad(archive, region);
  return DS_TexParticleGenerator::Save(archive);
}

bool DS_FallingStars::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, fallSpeed);
  ReadChangedUInt32(archive, starRate);
  io.ReadUInt32(fallDirection.RawValue());
  fallDirection.Recompute();
  io.ReadUInt32(starSize.RawValue());
  ReadChangedUInt32(archive, glowSize);
  ReadChangedUInt32(archive, shownTime);
  ReadChangedUInt32(archive, fadeInTime);
  ReadChangedUInt32(archive, fadeOutTime);
  return ReadRegionAndBase(archive);
}

std::unique_ptr<DS_ParticleGenerator> DS_FallingStars::Clone() const {
  return std::make_unique<DS_FallingStars>(*this);
}

void DS_FallingStars::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_ParticleRctRgnGenerator::AttachRuntimeObject(obj);
  CreateMaskTarget();
  sources.clear();
  obj.SetLayerCount(4);
}

int DS_FallingStars::NeedsTarget() const {
  return CanDrawMask() ? 1 : 0;
}

void DS_FallingStars::Update(float t, DS_ParticlesObj& obj) {
  DS_ParticleGenerator::Update(t, obj);
  EmitStars(speed.localTime);
  FillLayers(obj);
}

void DS_FallingStars::EmitStars(float t) {
  EmitAlongSources(t);
  const int due = starRate.TakeCount(t);
  const size_t room = kMaxParticlesPerList - std::min<size_t>(sources.size(), kMaxParticlesPerList);
  const size_t count = std::min<size_t>(static_cast<size_t>(std::max(due, 0)), room);
  const D3DXVECTOR4& d = fallDirection.Direction();
  const float s = fallSpeed.Scaled();
  const float fadeIn = fadeInTime.Scaled();
  const float shownEnd = shownTime.Scaled() + fadeIn;
  const float life = shownEnd + fadeOutTime.Scaled();
  for (size_t i = 0; i < count; ++i) {
    GeneratorParticle star(RandomPoint());
    star.channels[GeneratorParticle::kOpacity] = 0.0f;
    star.channels[GeneratorParticle::kAngle] = crt_rand_unit() * 6.2831855f;
    star.AddProcess<PAgeConst>(life);
    star.AddProcess<PKinetic>(D3DXVECTOR3(d.x * s, -d.y * s, d.z * s), D3DXVECTOR3(0, 0, 0));
    star.AddProcess<PFade>(GeneratorParticle::kOpacity, 0.0f, fadeIn, 1.0f);
    const float sign = (crt_rand() % 2 != 0) ? -1.0f : 1.0f;
    star.AddProcess<PSpin>(s * 0.002f * sign);
    star.AddProcess<PFade>(GeneratorParticle::kOpacity, shownEnd, life, -1.0f);
    sources.push_back(std::move(star));
  }
}

namespace {

// Both layers locked, or neither.
bool LockBoth(DS_ParticlesObj& obj, unsigned a, unsigned b) {
  if (!obj.LockLayer(a)) return false;
  if (obj.LockLayer(b)) return true;
  obj.UnlockLayer(a);
  return false;
}

}  // namespace

void DS_FallingStars::FillLayers(DS_ParticlesObj& obj) {
  const float v = timing.TimelineValue();
  const float size = static_cast<float>(starSize.Value());
  const unsigned stars = static_cast<unsigned>(sources.size());
  const unsigned trail = static_cast<unsigned>(particles.size());
  obj.SetQuadCount(0, stars);
  obj.SetQuadCount(2, stars);
  obj.SetQuadCount(1, trail);
  obj.SetQuadCount(3, trail);
  if (stars > 0 && LockBoth(obj, 0, 2)) {
    unsigned i = 0;
    for (const GeneratorParticle& star : sources) {
      obj.WriteOrientedQuad(i, star, size, size, v, colour1);
      obj.WriteSpriteQuad(2, i, star, size * glowSize.Scaled(), v, colour2);
      ++i;
    }
    obj.UnlockLayer(0);
    obj.UnlockLayer(2);
  }
  if (trail > 0 && LockBoth(obj, 1, 3)) {
    const float trailSize = size * auxiliary.Scaled();
    unsigned i = 0;
    for (const GeneratorParticle& particle : particles) {
      obj.WriteSpriteQuad(1, i, particle, trailSize, v, colour1);
      obj.WriteSpriteQuad(3, i, particle, trailSize * glowSize.Scaled(), v, colour2);
      ++i;
    }
    obj.UnlockLayer(1);
    obj.UnlockLayer(3);
  }
}

void DS_FallingStars::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  RenderTwoMasks(renderer, obj, {{0, 0}, {1, 1}}, {{3, 3}, {2, 2}});
}
