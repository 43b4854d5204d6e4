#include "objects/sprites/generators/ds_brown_animation.h"

#include <algorithm>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/generators/generator_quads.h"

DS_BrownAnimation::DS_BrownAnimation() {
  frameSpeed.SetValue(100);
  frameSpeed.SetScale(0.01f, 0.0f);
}

DS_BrownAnimation::DS_BrownAnimation(const DS_BrownAnimation& other)
    : DS_ParticleRctRgnGenerator(other),
      wandererCount(other.wandererCount),
      pictureScale(other.pictureScale),
      motionScale(other.motionScale),
      frameSpeed(other.frameSpeed),
      meanWait(other.meanWait),
      impulseTime(other.impulseTime) {
  sources.clear();
}

bool DS_BrownAnimation::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_BrownAnimation", kVersion);
  DS_IOF_Virtual& io = archive.io();
  for (unsigned value : {wandererCount.Value(), pictureScale.Value(), motionScale.Value(),
                         meanWait.Value(), impulseTime.Value(), frameSpeed.Value()})
    io.WriteUInt32(value);
  return DS_ParticleRctRgnGenerator::Save(archive);
}

bool DS_BrownAnimation::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadUInt32(wandererCount.RawValue());
  ReadChangedUInt32(archive, pictureScale);
  ReadChangedUInt32(archive, motionScale);
  ReadChangedUInt32(archive, meanWait);
  ReadChangedUInt32(archive, impulseTime);
  if (version > 1) ReadChangedUInt32(archive, frameSpeed);
  return DS_ParticleRctRgnGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_BrownAnimation::Clone() const {
  return std::make_unique<DS_BrownAnimation>(*this);
}

void DS_BrownAnimation::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_ParticleRctRgnGenerator::AttachRuntimeObject(obj);
  sources.clear();
  obj.SetLayerCount(1);
}

void DS_BrownAnimation::Update(float t, DS_ParticlesObj& obj) {
  Step(frameSpeed, t);
  if (!textures.empty()) textures[0].Advance(frameSpeed.localTime);
  DS_ParticleGenerator::Update(t, obj);
  AdjustWandererCount();
  FillQuads(obj);
}

void DS_BrownAnimation::AdjustWandererCount() {
  const size_t count = std::min<size_t>(wandererCount.Value(), kMaxParticlesPerList);
  while (sources.size() < count) {
    GeneratorParticle wanderer(RandomPoint());
    const float vy = crt_rand_unit() * 200.0f - 100.0f;
    const float vx = crt_rand_unit() * 200.0f - 100.0f;
    const float wait = crt_rand_unit() * 4.0f + 1.0f;
    wanderer.AddProcess<PBrownian>(&owner, D3DXVECTOR3(vx, vy, 0.0f), wait);
    sources.push_back(std::move(wanderer));
  }
  while (sources.size() > count)
    sources.pop_back();
}

void DS_BrownAnimation::FillQuads(DS_ParticlesObj& obj) {
  const unsigned n = textures.empty() ? 0 : static_cast<unsigned>(sources.size());
  obj.SetQuadCount(0, n);
  if (n == 0 || !obj.LockLayer(0)) return;
  const float w = static_cast<float>(textures[0].width) * pictureScale.Scaled();
  const float h = static_cast<float>(textures[0].height) * pictureScale.Scaled();
  unsigned i = 0;
  for (const GeneratorParticle& wanderer : sources) {
    QuadVertices quad;
    MakeSpriteQuad(quad, wanderer.position.x, wanderer.position.y, wanderer.position.z, w, h);
    ColourQuad(quad, colour1, 1.0f);
    obj.WriteQuad(0, i++, quad);
  }
  obj.UnlockLayer(0);
}

void DS_BrownAnimation::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  RenderSingleLayer(renderer, obj);
}
