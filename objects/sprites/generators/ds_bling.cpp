#include "objects/sprites/generators/ds_bling.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/generators/generator_quads.h"
#include "objects/sprites/generators/particle_processes.h"

namespace {

constexpr int kSizeFactor = 6;
constexpr int kStartAngle = 9;

}  // namespace

DS_Bling::DS_Bling() {
  twinkleSpeed.SetFactor(0.02f);
  spinSpeed.SetFactor(0.02f);
}

bool DS_Bling::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_Bling", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(twinkleSpeed.Value());
  io.WriteUInt32(fallTime.Value());
  io.WriteUInt32(riseTime.Value());
  io.WriteUInt32(spinSpeed.Value());
  io.WriteUInt32(minimumSize.Value());
  return DS_AirBrush::Save(archive);
}

bool DS_Bling::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadChangedUInt32(archive, twinkleSpeed);
  ReadChangedUInt32(archive, fallTime);
  ReadChangedUInt32(archive, riseTime);
  if (version >= 2) {
    ReadChangedUInt32(archive, spinSpeed);
    ReadChangedUInt32(archive, minimumSize);
  }
  return DS_AirBrush::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_Bling::Clone() const {
  return std::make_unique<DS_Bling>(*this);
}

float DS_Bling::SetupSparkle(GeneratorParticle& particle) const {
  const float rise = riseTime.Scaled(), fall = fallTime.Scaled();
  const float life = rise + fall;
  particle.channels[GeneratorParticle::kLife] = 0.0f;
  particle.channels[GeneratorParticle::kScale] = 0.0f;
  const float peak = RatioOr0(rise, life);
  particle.AddProcess<PLifeConst>(RatioOr0(1.0f, life));
  particle.AddProcess<PSteady>(GeneratorParticle::kScale, 0.0f, peak, RatioOr0(1.0f, rise));
  particle.AddProcess<PSteady>(GeneratorParticle::kScale, peak, 1.0f, -RatioOr0(1.0f, fall));
  return life;
}

void DS_Bling::RandomPreRun(GeneratorParticle& particle) const {
  const float r = crt_rand_unit() * (riseTime.Scaled() + fallTime.Scaled());
  for (int i = 0; i < 10; ++i)
    (void)particle.RunProcesses(r * 0.1f);
}

void DS_Bling::AddParticle(const D3DXVECTOR3& position, float a, float /*b*/, float c,
                           float /*d*/) {
  if (dabs.size() >= kMaxParticlesPerList) return;
  GeneratorParticle sparkle(position);
  SetupSparkle(sparkle);
  sparkle.channels[kSizeFactor] = a;
  sparkle.channels[kStartAngle] = c * 6.2831855f;
  RandomPreRun(sparkle);
  dabs.push_back(std::move(sparkle));
}

void DS_Bling::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_TexParticleGenerator::AttachRuntimeObject(obj);
  obj.SetLayerCount(2);
  CreateMaskTarget();
  // Sparkles added to the description carry processes into the clone: they start afresh, so
  // that no sparkle runs two lives at once.
  for (GeneratorParticle& sparkle : dabs) {
    sparkle.ClearProcesses();
    SetupSparkle(sparkle);
    RandomPreRun(sparkle);
  }
}

void DS_Bling::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  RenderJoinMask(1, renderer, obj);
  ApplyBlendMode(renderer);
}

void DS_Bling::Update(float t, DS_ParticlesObj& obj) {
  const float step = Step(twinkleSpeed, t);
  Step(spinSpeed, t);
  for (GeneratorParticle& sparkle : dabs) {
    if (sparkle.processes.empty() || sparkle.RunProcesses(step)) continue;
    sparkle.ClearProcesses();
    SetupSparkle(sparkle);
  }

  const unsigned n = static_cast<unsigned>(std::min<size_t>(dabs.size(), kMaxParticlesPerList));
  if (!obj.LockLayerPair(n)) return;
  const float timeline = timing.TimelineValue();
  const float s = static_cast<float>(size.Value());
  const float m = minimumSize.Scaled();
  unsigned i = 0;
  for (const GeneratorParticle& sparkle : dabs) {
    const float angle = sparkle.channels[kStartAngle] + spinSpeed.localTime;
    const D3DXVECTOR3 u(std::cos(angle), std::sin(angle), 0.0f);
    const D3DXVECTOR3 v(-std::sin(angle), std::cos(angle), 0.0f);
    const float side = ((1.0f - m) * sparkle.channels[GeneratorParticle::kScale] + m) * s *
                       sparkle.channels[kSizeFactor];
    QuadVertices quad;
    MakeOrientedQuad(quad, sparkle.position, u, v, side);
    const float alpha = sparkle.channels[GeneratorParticle::kOpacity] * timeline;
    ColourQuad(quad, colour2, alpha);
    obj.WriteQuad(0, i, quad);
    ColourQuad(quad, colour1, alpha);
    obj.WriteQuad(1, i, quad);
    ++i;
  }
  obj.UnlockLayer(0);
  obj.UnlockLayer(1);
}
