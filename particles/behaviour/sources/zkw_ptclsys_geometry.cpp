#include "particles/behaviour/sources/zkw_ptclsys_geometry.h"

#include <algorithm>
#include "core/crt_rand.h"

#include "core/archive/vector_io.h"
#include "core/param/param_reads.h"
#include "particles/behaviour/particle/oscillation_transforms.h"

namespace {

constexpr float kTwoPi = 6.2831855f;

}  // namespace

ZKW_PtclSys_Geometry::ZKW_PtclSys_Geometry() {
  translucency.value.SetScale(-0.01f, 1.0f);
  for (OscillationParams* offset : {&alongOscillation, &acrossOscillation}) {
    offset->amplitude.SetScale(1.0f, 0.0f);
    offset->amplitude.SetValue(50);
  }
}

ZKW_PtclSys_Geometry::~ZKW_PtclSys_Geometry() = default;

bool ZKW_PtclSys_Geometry::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSys_Geometry", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteWideString(name);
  WriteVector3(io, position.Value());
  WriteOscillationParams(archive, sizeOscillation);
  WriteOscillationParams(archive, translucencyOscillation);
  WriteValueSpread(archive, size);
  io.WriteUInt32(translucency.value.Value());
  io.WriteUInt32(translucency.jitter.Value());
  WriteModedScaledParams(archive, sizeEnvelope);
  WriteModedScaledParams(archive, translucencyEnvelope);
  WriteOscillationParams(archive, alongOscillation);
  WriteOscillationParams(archive, acrossOscillation);
  WriteSpinPrm(archive, spin);
  return true;
}

void ReadGeometryBase(DS_IOF_Archive& archive, ZKW_PtclSys_Geometry& g) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadWideString(g.name);
  ReadVector3(io, g.position.RawValue());
  ReadOscillationParams(archive, g.sizeOscillation);
  ReadOscillationParams(archive, g.translucencyOscillation);
  ReadValueSpread(archive, g.size);
  ReadChangedUInt32(archive, g.translucency.value);
  ReadChangedUInt32(archive, g.translucency.jitter);
  ReadModedScaledParams(archive, g.sizeEnvelope);
  ReadModedScaledParams(archive, g.translucencyEnvelope);
  ReadOscillationParams(archive, g.alongOscillation);
  ReadOscillationParams(archive, g.acrossOscillation);
  ReadSpinPrm(archive, g.spin);
}

void ZKW_PtclSys_Geometry::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadGeometryBase(archive, *this);
}

void ReadGeometryBasePart(DS_IOF_Archive& archive, ZKW_PtclSys_Geometry& geometry) {
  ReadBaseHeader(archive);
  ReadGeometryBase(archive, geometry);
}

void ZKW_PtclSys_Geometry::SetAtlasGrid(int columns, int rows) {
  atlasColumns = std::max(columns, 1);
  atlasRows = std::max(rows, 1);
}

void ZKW_PtclSys_Geometry::DrawAtlasCell(ParticleRecord& p) const {
  const int columns = std::max(atlasColumns, 1);
  const int rows = std::max(atlasRows, 1);
  p.presetCell[0] = 1.0f / static_cast<float>(columns);
  p.presetCell[1] = 1.0f / static_cast<float>(rows);
  p.presetCell[2] = static_cast<float>(crt_rand() % columns) / static_cast<float>(columns);
  p.presetCell[3] = static_cast<float>(crt_rand() % rows) / static_cast<float>(rows);
}

ParticleHandle ZKW_PtclSys_Geometry::NewParticle(const ParticleHandle* parent) {
  ParticleHandle particle = MakeChildParticle(parent != nullptr ? *parent : ParticleHandle());
  particle->Position() = position.Value();
  InitParticle(*particle);
  particles.push_back(particle);
  return particle;
}

void ZKW_PtclSys_Geometry::InitParticle(ParticleRecord& particle) {
  InitParticleWithPhase(particle, nullptr);
}

void ZKW_PtclSys_Geometry::InitParticleWithPhase(ParticleRecord& p, const float* phase) {
  DrawAtlasCell(p);

  AttachTransform<PtclTr_JitterCtrl>(p, ParticleRecord::kScale, &size);
  AttachTransform<PtclTr_JitterUpdater>(p, ParticleRecord::kAlpha, &translucency);
  const struct {
    int slot;
    const OscillationParams* params;
    float base;
  } oscillations[] = {
      {ParticleRecord::kScale, &sizeOscillation, 1.0f},
      {ParticleRecord::kAlpha, &translucencyOscillation, 1.0f},
      {ParticleRecord::kAlong, &alongOscillation, 0.0f},
      {ParticleRecord::kAcross, &acrossOscillation, 0.0f},
  };
  for (const auto& o : oscillations) {
    // The harmonic phase is drawn before the Perlin part draws its seed.
    const float harmonicPhase = phase != nullptr ? *phase : crt_rand_unit() * kTwoPi;
    AttachTransform<PtclTr_Oscilator>(p, o.slot, o.params, o.base, harmonicPhase);
  }
  AttachRandomSpin(p, &spin);
}

void ZKW_PtclSys_Geometry::UpdateParticles(float dt) {
  for (auto it = particles.begin(); it != particles.end();) {
    if (*it && (*it)->Update(dt))
      ++it;
    else
      it = particles.erase(it);
  }
}

void ZKW_PtclSys_Geometry::ClearParticles() {
  particles.clear();
}
