#include "particles/behaviour/physics/emitting_physics.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "particles/behaviour/particle/particle_transforms.h"

namespace {

bool Alive(const ParticleHandle& parent) {
  return parent && !parent->Has(ParticleRecord::kDead);
}

// The first index k of [0, count) for which lo <= base + k x step may hold, and one past the
// last, widened by one on each side so that the exact test decides at the edges.
std::pair<uint64_t, uint64_t> Candidates(float lo, float hi, float base, float step,
                                         uint64_t count) {
  using Range = std::pair<uint64_t, uint64_t>;
  if (step <= 0.0f) return (lo <= base && base <= hi) ? Range{0, count} : Range{0, 0};
  const double first = std::ceil((static_cast<double>(lo) - base) / step) - 1.0;
  const double last = std::floor((static_cast<double>(hi) - base) / step) + 2.0;
  const auto clamp = [count](double x) {
    return static_cast<uint64_t>(std::clamp(x, 0.0, static_cast<double>(count)));
  };
  return Range{clamp(first), clamp(last)};
}

}  // namespace

bool ZKW_PtclSysPhys_LifeLimit::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_LifeLimit", 1);
  WriteGraphSpreadPrm(archive, life);
  return ZKW_PtclSysPhys_Points::Save(archive);
}

void ZKW_PtclSysPhys_LifeLimit::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadGraphSpreadPrm(archive, life);
  ZKW_PtclSysPhys_Points::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysPhys_LifeLimit::InitNewParticle(ParticleRecord* particle) {
  unsigned cursor = 1;
  AttachTransform<PtclTr_MaxAge>(*particle, life.FactorAt(0.0f, 0.0f, &cursor));
}

ZKW_PtclSysPhys_Source::ZKW_PtclSysPhys_Source() {
  // Until the clock's first tick the emission acts with its own count.
  emission.modulated = static_cast<float>(emission.Value());
}

bool ZKW_PtclSysPhys_Source::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_Source", 4);
  WriteChronoWrap(archive, emission);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(2);
  io.WriteInt32(cycle.mode.Value());
  io.WriteFloat(cycle.duration.Value());
  io.WriteFloat(cycle.pause.Value());
  io.WriteFloat(cycle.delay.Value());
  return ZKW_PtclSysPhys_LifeLimit::Save(archive);
}

void ZKW_PtclSysPhys_Source::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  if (version >= 4) {
    ReadChronoWrap(archive, emission);
    ReadBlockVersion(archive);
    io.ReadInt32(cycle.mode.RawValue());
    io.ReadFloat(cycle.duration.RawValue());
    io.ReadFloat(cycle.pause.RawValue());
    io.ReadFloat(cycle.delay.RawValue());
  } else {
    GraphSpreadPrm count{emission.Value(), 1.0f};
    ReadGraphSpreadPrm(archive, count);
    emission.SetValue(count.value.Value());
    if (version == 3) {
      ReadBlockVersion(archive);
      io.ReadInt32(cycle.mode.RawValue());
      io.ReadFloat(cycle.duration.RawValue());
      io.ReadFloat(cycle.pause.RawValue());
      io.ReadFloat(cycle.delay.RawValue());
    } else if (version == 2) {
      io.ReadFloat(cycle.duration.RawValue());
      io.ReadFloat(cycle.pause.RawValue());
      io.ReadInt32(cycle.mode.RawValue());
    } else {
      io.ReadFloat(cycle.duration.RawValue());
    }
  }
  emission.modulated = static_cast<float>(emission.Value());
  ZKW_PtclSysPhys_LifeLimit::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysPhys_Source::KillAll() {
  ZKW_PtclSysPhys_Points::KillAll();
  slots.clear();
}

ParticleList ZKW_PtclSysPhys_Source::SpawnForParents(ParticleList* parents) {
  if (parents == nullptr) return {};
  for (const ParticleHandle& parent : *parents) {
    auto slot = std::make_unique<EmissionSlot>();
    slot->parent = parent;
    slot->source = this;
    slot->remaining = std::max(0.0f, cycle.delay.Value());
    slots.emplace_back(std::move(slot));
  }
  return {};
}

bool ZKW_PtclSysPhys_Source::AdvanceSlot(EmissionSlot& slot, float dt) {
  if (!Alive(slot.parent)) return false;
  // Phases of negative (or NaN) length from a file count as none.
  const float lengths[3] = {std::max(0.0f, cycle.delay.Value()),
                            std::max(0.0f, cycle.duration.Value()),
                            std::max(0.0f, cycle.pause.Value())};
  const float period = lengths[0] + lengths[1] + lengths[2];
  const float rate = lengths[1] > 0.0f ? emission.Modulated() / lengths[1] : 0.0f;
  if (!(period > 0.0f)) {
    // A cycle of no length would never let the step end.
    slot.remaining = 0.0f;
    return true;
  }
  while (dt > slot.remaining) {
    if (slot.phase == 1) slot.count += rate * slot.remaining;
    dt -= slot.remaining;
    slot.phase = slot.phase == 0 ? 1 : slot.phase == 1 ? 2 : 0;
    slot.remaining = lengths[slot.phase];
    if (!Alive(slot.parent)) return false;
    // Whole cycles at once (all but the last, which the loop walks), so that a long step over a
    // short cycle takes no time.
    if (slot.phase == 0 && dt > 2.0f * period) {
      const float whole = std::floor(dt / period) - 1.0f;
      slot.count += rate * lengths[1] * whole;
      dt -= whole * period;
    }
  }
  if (slot.phase == 1) slot.count += rate * dt;
  slot.remaining -= dt;
  return true;
}

size_t ZKW_PtclSysPhys_Source::Room(size_t pending) const {
  const size_t used = particles.size() + pending, cap = EmittedParticleCap();
  return used < cap ? cap - used : 0;
}

void ZKW_PtclSysPhys_Source::EmitAccumulated(EmissionSlot& slot, ParticleList& out) {
  while (slot.count >= 1.0f) {
    if (Room(out.size()) == 0) {
      slot.count -= std::floor(slot.count);
      break;
    }
    ParticleHandle particle = MakeChildParticle(slot.parent);
    InitNewParticle(particle.Get());
    out.push_back(std::move(particle));
    slot.count -= 1.0f;
  }
}

ParticleList ZKW_PtclSysPhys_Source::Update(ParticleList* parents, float step) {
  ZKW_PtclSysPhys_Points::Update(parents, step);
  ParticleList made;
  std::vector<DS_SafePtr<EmissionSlot>> kept;
  kept.reserve(slots.size());
  for (DS_SafePtr<EmissionSlot>& slot : slots) {
    if (!slot || !AdvanceSlot(*slot, step)) continue;
    EmitAccumulated(*slot, made);
    kept.push_back(std::move(slot));
  }
  slots = std::move(kept);
  particles.insert(particles.end(), made.begin(), made.end());
  return made;
}

bool ZKW_PtclSysPhys_SourceFig::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_SourceFig", 2);
  WriteMotionLaw(archive, law.Get());
  return ZKW_PtclSysPhys_Source::Save(archive);
}

void ZKW_PtclSysPhys_SourceFig::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version < 2) {
    if (std::unique_ptr<ZKW_VGeom2D> shape = ReadVGeom2D(archive)) SetGeometry(std::move(shape));
  }
  law = DS_SafePtr<ZKW_PtclSys_MotionLaw>(ReadMotionLaw(archive));
  ZKW_PtclSysPhys_Source::ReadBody(archive, ReadBaseHeader(archive));
  if (law) law->SetCentre(GetGeometry());
}

bool ZKW_PtclSysPhys_SourceFig::NeedsDepthSort() const {
  return law && law->NeedsDepthSort();
}

void ZKW_PtclSysPhys_SourceFig::InitNewParticle(ParticleRecord* particle) {
  ZKW_PtclSysPhys_LifeLimit::InitNewParticle(particle);
  if (!law) return;
  law->SetCentre(GetGeometry());
  law->ApplyToParticle(particle, GetGeometry());
}

ZKW_PtclSysPhys_Lattice::ZKW_PtclSysPhys_Lattice() {
  stepB.SetValue(20);
  emission.RawValue() = 1;
  emission.modulated = 1.0f;
  cycle.duration.RawValue() = 2.0f;
}

bool ZKW_PtclSysPhys_Lattice::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_Lattice", 2);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(countA.Value());
  io.WriteUInt32(countB.Value());
  io.WriteInt32(flipA.Value());
  io.WriteInt32(flipB.Value());
  io.WriteUInt32(stepA.Value());
  io.WriteUInt32(stepB.Value());
  return ZKW_PtclSysPhys_Source::Save(archive);
}

void ZKW_PtclSysPhys_Lattice::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version < 2) {
    if (std::unique_ptr<ZKW_VGeom2D> shape = ReadVGeom2D(archive)) SetGeometry(std::move(shape));
  }
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(countA.RawValue());
  io.ReadUInt32(countB.RawValue());
  io.ReadInt32(flipA.RawValue());
  io.ReadInt32(flipB.RawValue());
  ReadChangedUInt32(archive, stepA);
  ReadChangedUInt32(archive, stepB);
  ZKW_PtclSysPhys_Source::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysPhys_Lattice::KillAll() {
  ZKW_PtclSysPhys_Source::KillAll();
  sweeps.clear();
}

void ZKW_PtclSysPhys_Lattice::EmitAccumulated(EmissionSlot& slot, ParticleList&) {
  const unsigned a = countA.Value(), b = countB.Value();
  const size_t cap = EmittedParticleCap();
  if (a == 0 || b == 0 || sweeps.size() >= cap) {
    // No cells to sweep over (or no room for more sweeps): the particles are dropped.
    slot.count -= std::floor(std::max(0.0f, slot.count));
    return;
  }
  while (slot.count >= 1.0f && sweeps.size() < cap) {
    auto sweep = std::make_unique<LatticeSweep>();
    sweep->duration =
        static_cast<float>(a - 1) * stepA.Scaled() + static_cast<float>(b - 1) * stepB.Scaled();
    sweep->parent = slot.parent;
    sweeps.emplace_back(std::move(sweep));
    slot.count -= 1.0f;
  }
  if (slot.count >= 1.0f) slot.count -= std::floor(slot.count);
}

void ZKW_PtclSysPhys_Lattice::EmitSweep(const LatticeSweep& sweep, float step, ParticleList& out) {
  const ZKW_VGeom2D* shape = GetGeometry();
  if (shape == nullptr || !shape->IsParametric()) return;
  const float t0 = sweep.elapsed, t1 = sweep.elapsed + step;
  const uint64_t a = countA.Value(), b = countB.Value();
  const float sa = stepA.Scaled(), sb = stepB.Scaled();
  // Rows that may hold a key in the window: i x step B within [t0 - (a - 1) x step A, t1].
  const auto rows = Candidates(t0 - static_cast<float>(a - 1) * sa, t1, 0.0f, sb, b);
  for (uint64_t i = rows.first; i < rows.second; ++i) {
    const float base = static_cast<float>(i) * sb;
    const auto cells = Candidates(t0, t1, base, sa, a);
    if (cells.first == cells.second && sb <= 0.0f) return;  // every row is alike
    for (uint64_t j = cells.first; j < cells.second; ++j) {
      const float key = static_cast<float>(j) * sa + base;
      if (key < t0 || key > t1) continue;
      if (Room(out.size()) == 0) return;
      ParticleHandle particle = MakeChildParticle(sweep.parent);
      InitNewParticle(particle.Get());
      float first = (2.0f * static_cast<float>(i) + 1.0f) * 0.5f / static_cast<float>(b);
      float second = (2.0f * static_cast<float>(j) + 1.0f) * 0.5f / static_cast<float>(a);
      if (flipB.Value() != 0) first = 1.0f - first;
      if (flipA.Value() != 0) second = 1.0f - second;
      D3DXVECTOR3& surface = particle->vectors[ParticleRecord::kSurface];
      surface.x = first;
      surface.y = second;
      float uv[2] = {first, second};
      shape->PointAt(uv, &particle->Position(), nullptr);
      out.push_back(std::move(particle));
    }
  }
}

ParticleList ZKW_PtclSysPhys_Lattice::Update(ParticleList* parents, float step) {
  ZKW_PtclSysPhys_Source::Update(parents, step);
  ParticleList made;
  std::vector<DS_SafePtr<LatticeSweep>> kept;
  kept.reserve(sweeps.size());
  for (DS_SafePtr<LatticeSweep>& sweep : sweeps) {
    if (!sweep) continue;
    EmitSweep(*sweep, step, made);
    sweep->elapsed += step;
    if (Alive(sweep->parent) && sweep->duration > sweep->elapsed) kept.push_back(std::move(sweep));
  }
  sweeps = std::move(kept);
  particles.insert(particles.end(), made.begin(), made.end());
  return made;
}
