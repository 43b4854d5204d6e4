#include "particles/classic/paths/particle_path.h"

#include "core/crt_rand.h"
#include "core/param/param_reads.h"
#include "geometry/path/bspline_point_io.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/control/path_start.h"
#include "particles/classic/control/timeline_reading.h"
#include "particles/classic/routines/path_routines.h"
#include "particles/classic/routines/value_routines.h"

bool ZKW_ParticlePath::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ParticlePath", kVersion);
  DS_IOF_Virtual& io = archive.io();
  WriteBSplinePointVector(archive, path.Value());
  io.WriteUInt32(counter.rate.Value());
  io.WriteUInt32(pathSpeed.Value());
  io.WriteUInt32(speedSpread.Value());
  io.WriteUInt32(lateralOffset.Value());
  io.WriteInt32(wobbleMode.Value());
  io.WriteUInt32(wobbleFrequency.Value());
  io.WriteUInt32(startWidth.Value());
  io.WriteUInt32(endWidth.Value());
  io.WriteUInt32(rampInEnd.Value());
  io.WriteUInt32(rampOutStart.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool ZKW_ParticlePath::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  ReadBSplinePointVector(archive, path.RawValue());
  ReadChangedUInt32(archive, counter.rate);
  ReadChangedUInt32(archive, pathSpeed);
  ReadChangedUInt32(archive, speedSpread);
  io.ReadUInt32(lateralOffset.RawValue());
  io.ReadInt32(wobbleMode.RawValue());
  for (UINTSclaleTo<float>* value :
       {&wobbleFrequency, &startWidth, &endWidth, &rampInEnd, &rampOutStart})
    ReadChangedUInt32(archive, *value);
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_ParticlePath::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  ZKW_ParticleSystemCtrl::AttachRuntimeObject(runtime);
  if (runtime != nullptr) runtime->ResetBatches(1);
  path.Rebuild();
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_ParticlePath::Clone() const {
  return std::make_unique<ZKW_ParticlePath>(*this);
}

float ZKW_ParticlePath::PrewarmTime() const {
  return PathLength() / pathSpeed.Scaled();
}

RoutineParticleList ZKW_ParticlePath::Emit(float step) {
  if (path.GetCount() < 2) return {};
  const int n = RoomFor(counter.Count(TimelineReading::Of(*this).value * step));
  for (int i = 0; i < n; ++i) {
    DS_SafePtr<RoutineParticle> particle = MakeParticle(FirstControlPoint(path));
    InitParticle(particle);
    particle->Update(static_cast<float>(i) * step / static_cast<float>(n));
    particles.push_back(particle);
  }
  return {};
}

void ZKW_ParticlePath::InitParticle(const DS_SafePtr<RoutineParticle>& handle) {
  if (!handle) return;
  RoutineParticle& p = *handle;
  const float f = wobbleFrequency.Scaled();
  constexpr int kWobble = RoutineParticle::kPathOffset;
  if (wobbleMode.Value() != 0) {
    p.lateralUnit = 1.0f;
    p.AddRoutine(MakeRoutine<IPR_Perlin>(f, p, kWobble, 0.5f, 0.0f), false);
  } else {
    p.lateralUnit = crt_rand_unit() - 0.5f;
    const float frequency = crt_rand() % 2 != 0 ? -f : f;
    const float phase = crt_rand_unit() * 6.2831855f;
    p.AddRoutine(MakeRoutine<IPR_Harmonic>(kWobble, phase, 0.0f, frequency, 1.0f), true);
  }
  // The ramps run over the distance travelled (the tracker's age).
  const float length = PathLength();
  const float s = startWidth.Scaled();
  const float e = rampOutStart.Value() > rampInEnd.Value() ? endWidth.Scaled() : 0.0f;
  p.AddRoutine(MakeRoutine<IPR_IncrementM>(kWobble, s, 1.0f, 0.0f, rampInEnd.Scaled() * length),
               false);
  p.AddRoutine(
      MakeRoutine<IPR_IncrementM>(kWobble, 1.0f, e, rampOutStart.Scaled() * length, length), false);
  const float q = speedSpread.Scaled();
  const float factor = 2.0f - (crt_rand_unit() * (1.0f - q) + q);
  auto tracker = MakeRoutine<IPR_PathTracker>(
      &lateralOffset, DS_SafePtr<CurveCursor>(std::make_unique<CurveCursor>(path.Cursor())),
      &pathSpeed, factor);
  appearance.InitParticle(handle, std::move(tracker));
}
