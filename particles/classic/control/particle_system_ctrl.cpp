#include "particles/classic/control/particle_system_ctrl.h"

#include <algorithm>
#include <cmath>

#include "core/float_to_int.h"
#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "core/timing/zkw_timing.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/control/timeline_reading.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// The shape index of a legacy record: one Int32 below version 3, then a Dword-counted list whose
// first entry is the index (-1 stays for an empty list).
void ReadLegacyShapeIndex(DS_IOF_Archive& archive, uint32_t version, int32_t& index) {
  DS_IOF_Virtual& io = archive.io();
  if (version < 3) {
    io.ReadInt32(index);
    return;
  }
  uint32_t count = 0;
  io.ReadDword(count);
  if (!io.CountFits(count, 4)) return;
  for (uint32_t i = 0; i < count; ++i) {
    int32_t value = -1;
    io.ReadInt32(value);
    if (i == 0) index = value;
  }
}

// The pre-warm's limits (LimitPrewarm).
int prewarmStepLimit = ZKW_ParticleSystemCtrl::kMaxPrewarmSteps;
uint64_t prewarmParticleStepLimit = ZKW_ParticleSystemCtrl::kMaxPrewarmParticleSteps;

}  // namespace

float FlightTime(float distance, float speed) {
  const float lifetime = distance / speed;
  return std::isnan(lifetime) ? 0.0f : lifetime;
}

const char16_t* LegacyShapeName(int32_t index) {
  static constexpr const char16_t* kNames[] = {u"Particle shape 1", u"Particle shape 2",
                                               u"Particle shape 3", u"Sphere",
                                               u"Bubble",           u"Rain dreop"};
  return index >= 0 && index < 6 ? kNames[index] : nullptr;
}

ZKW_ParticleSystemCtrl::ZKW_ParticleSystemCtrl() {
  speed.SetScale(0.01f, 0.0f);
  speed.SetValue(100);
}

ZKW_ParticleSystemCtrl::ZKW_ParticleSystemCtrl(const ZKW_ParticleSystemCtrl& other)
    : DS_IOF_Item(),
      DS_ABObj_Constructor(other),
      appearance(other.appearance),
      speed(other.speed),
      particles(other.particles),
      mech(other.mech) {}

ZKW_ParticleSystemCtrl::~ZKW_ParticleSystemCtrl() {
  // The watches first, then the particles, whose colour routines read the appearance.
  callbacks.Clear();
  particles.clear();
}

bool ZKW_ParticleSystemCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ParticleSystemCtrl", kVersion);
  appearance.SaveBlock(archive);
  archive.io().WriteUInt32(speed.Value());
  return DS_ABObj_Constructor::Save(archive);
}

bool ZKW_ParticleSystemCtrl::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ParticleAppearance& look = appearance;
  if (version >= 5) {
    look.ReadBlock(archive);
    ReadChangedUInt32(archive, speed);
  } else {
    look.ReadPictureLinks(archive);
    int32_t shape = -1;
    ReadLegacyShapeIndex(archive, version, shape);
    if (const char16_t* name = LegacyShapeName(shape)) look.shapeName.SetValue(name);
    ReadEffectLink(archive, look.effectLink);
    ReadChangedUInt32(archive, look.frameSpeed);
    io.ReadUInt32(look.size.RawValue());
    look.ReadLegacyColour(archive);
    if (version >= 2) {
      io.ReadInt32(look.framesBackwards.RawValue());
      io.ReadInt32(look.flipVertical.RawValue());
      io.ReadInt32(look.flipHorizontal.RawValue());
    }
    if (version == 4) ReadChangedUInt32(archive, speed);
  }
  return DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_ParticleSystemCtrl::LimitPrewarm(int steps, uint64_t particleSteps) {
  prewarmStepLimit = std::min(steps, kMaxPrewarmSteps);
  prewarmParticleStepLimit = std::min(particleSteps, kMaxPrewarmParticleSteps);
}

void ZKW_ParticleSystemCtrl::Restart() {
  if (timing.Kind() != 0) {
    particles.clear();
    return;
  }
  // The time is asked before every step, and the float sum of the steps decides, as it always
  // has: 5 s take 51 steps.
  float warmed = 0.0f;
  uint64_t updates = 0;
  for (int steps = 0; steps < prewarmStepLimit && updates < prewarmParticleStepLimit; ++steps) {
    const float time = PrewarmTime();
    // An endless time (a path or shot speed of 0) would never settle: it warms nothing.
    if (!(time > warmed) || std::isinf(time)) break;
    updates += WarmStep(kPrewarmStep);
    warmed += kPrewarmStep;
  }
}

uint64_t ZKW_ParticleSystemCtrl::WarmStep(float step) {
  const uint64_t live = particles.size();
  Advance(step);
  return live;
}

std::unique_ptr<ZKW_RenderObj> ZKW_ParticleSystemCtrl::CreateRuntimeObject() {
  std::unique_ptr<ZKW_ParticleSystemCtrl> clone = Clone();
  ZKW_ParticleSystemCtrl* control = clone.get();
  auto object = std::make_unique<ZKW_ParticleSystemMech>(std::move(clone));
  control->AttachRuntimeObject(object.get());
  control->Restart();
  return object;
}

int ZKW_ParticleSystemCtrl::NeedsTarget() const {
  return appearance.glowMode.Value() == ParticleAppearance::kScreenGlow ? 1 : 0;
}

void ZKW_ParticleSystemCtrl::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  mech = runtime;
  appearance.LoadTextures();
  appearance.LoadEffect();
  callbacks.SetOwner(this, false);
  callbacks.Watch(&ZKW_ParticleSystemCtrl::OnPictureChanged, appearance.picture);
}

void ZKW_ParticleSystemCtrl::OnPictureChanged() {
  appearance.LoadTextures();
  for (const auto& particle : particles)
    if (particle) appearance.PickAtlasCell(*particle);
}

void ZKW_ParticleSystemCtrl::Update(float t) {
  speed.Advance(t);
  appearance.Tick(t);
  Advance(speed.step);
  if (mech != nullptr)
    appearance.FillBatch(particles, *mech, static_cast<float>(appearance.size.Value()), 0);
}

void ZKW_ParticleSystemCtrl::Advance(float step) {
  UpdateRoutineParticles(particles, step);
  const RoutineParticleList newcomers = Emit(step);
  const float n = static_cast<float>(newcomers.size());
  float i = 0.0f;
  for (const auto& particle : newcomers) {
    if (particle) particle->Update(i * step / n);
    i += 1.0f;
  }
}

void ZKW_ParticleSystemCtrl::AttachWithBatches(ZKW_ParticleSystemMech* runtime, size_t batches) {
  ZKW_ParticleSystemCtrl::AttachRuntimeObject(runtime);
  if (runtime != nullptr) runtime->ResetBatches(batches);
}

float ZKW_ParticleSystemCtrl::Visibility() const {
  return TimelineReading::Of(*this).value;
}

int ZKW_ParticleSystemCtrl::DueInVisiblePhase(unsigned count, int32_t& emitted) const {
  const ZKW_Timing* timeline = timing.Current();
  if (timeline != nullptr && timeline->GetState() == TimingState::Hidden) emitted = 0;
  const float due = static_cast<float>(count) * Visibility() - static_cast<float>(emitted);
  const int n = RoomFor(SaturatingTruncate<int>(due));
  if (n > 0) emitted += n;
  return n;
}

int ZKW_ParticleSystemCtrl::RoomFor(int wanted) const {
  const size_t live = particles.size(), cap = EmittedParticleCap();
  const size_t room = live < cap ? cap - live : 0;
  return static_cast<int>(std::min<size_t>(static_cast<size_t>(std::max(wanted, 0)), room));
}

void ZKW_ParticleSystemCtrl::Render(DS_2D_Light& renderer, int* readerCount) {
  if (NeedsTarget() != 0) renderer.SwitchTarget(readerCount, false);
  if (mech != nullptr) appearance.Draw(*mech, 0, renderer);
}
