#include "particles/classic/kinds/brown_animation.h"

#include <algorithm>

#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/kinds/target_area.h"
#include "particles/classic/routines/brownian_routine.h"

ZKW_BrownAnimation::ZKW_BrownAnimation() {
  clock.SetScale(0.01f, 0.0f);
  clock.SetValue(100);
}

ZKW_BrownAnimation::~ZKW_BrownAnimation() {
  particles.clear();
}

bool ZKW_BrownAnimation::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_BrownAnimation", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(count.Value());
  io.WriteUInt32(walkSpeed.Value());
  io.WriteUInt32(changeRate.Value());
  io.WriteUInt32(accelerationTime.Value());
  WriteMediaQuad(archive, region.rect);
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool ZKW_BrownAnimation::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(count.RawValue());
  ReadChangedUInt32(archive, walkSpeed);
  ReadChangedUInt32(archive, changeRate);
  ReadChangedUInt32(archive, accelerationTime);
  ReadMediaQuad(archive, region.rect);
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_BrownAnimation::Restart() {
  ZKW_ParticleSystemCtrl::Restart();
  if (timing.Kind() != 0) FillCount();
}

void ZKW_BrownAnimation::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  AttachWithBatches(runtime, 1);
  FitAreaToRenderTarget(*this, region.rect);
  FillCount();
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_BrownAnimation::Clone() const {
  return std::make_unique<ZKW_BrownAnimation>(*this);
}

void ZKW_BrownAnimation::FillCount() {
  const size_t wanted = std::min<size_t>(count.Value(), kMaxParticlesPerList);
  if (particles.size() > wanted) {
    particles.resize(wanted);
    return;
  }
  RoutineParticleList born = region.Generate(static_cast<int>(wanted - particles.size()));
  // Nothing colours these particles as they live; they take the look's first colour.
  const std::vector<uint32_t>& colours = appearance.colorSet.colors.Value();
  for (const auto& particle : born) {
    particle->AddRoutine(
        MakeRoutine<IPR_Brownian>(&region.rect, &walkSpeed, &changeRate, &accelerationTime), false);
    if (!colours.empty()) particle->colour = colours.front();
  }
  particles.insert(particles.end(), born.begin(), born.end());
}

void ZKW_BrownAnimation::Update(float t) {
  appearance.Tick(t);
  clock.Advance(t);
  UpdateRoutineParticles(particles, clock.step);
  FillBatches();
}

void ZKW_BrownAnimation::FillQuads() {
  uint32_t quads = 0;
  DX_V::PCT* v =
      mech != nullptr ? mech->LockQuads(0, particles.size(), appearance, quads) : nullptr;
  if (v == nullptr) return;
  const LinkTextureSet& sequence = appearance.frames.front();
  const float k = static_cast<float>(appearance.size.Value()) * 0.01f;
  const float width = static_cast<float>(sequence.sourceWidth) * k * 0.5f;
  const float height = static_cast<float>(sequence.sourceHeight) * k * 0.5f;
  uint32_t q = 0;
  for (auto it = particles.begin(); it != particles.end() && q < quads; ++it) {
    const RoutineParticle* p = it->Get();
    if (p == nullptr) continue;
    const float hw = width * p->ownSize, hh = height * p->ownSize;
    const D3DXVECTOR3& at = p->position;
    const D3DXVECTOR3 corners[4] = {{at.x - hw, at.y + hh, at.z},
                                    {at.x - hw, at.y - hh, at.z},
                                    {at.x + hw, at.y + hh, at.z},
                                    {at.x + hw, at.y - hh, at.z}};
    for (int i = 0; i < 4; ++i) {
      v[i].x = corners[i].x;
      v[i].y = corners[i].y;
      v[i].z = corners[i].z;
    }
    mech->SetQuadColors(p->ownOpacity, v);
    v += 4;
    ++q;
  }
  mech->batches[0].UnlockVertices();
  mech->quadCounts[0] = q;
}
