#include "particles/classic/kinds/particle_tracer.h"

#include <algorithm>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/math/random_direction.h"
#include "core/param/param_reads.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/motion_routines.h"

ZKW_ParticleTracer::~ZKW_ParticleTracer() {
  // The traces' colour routines read the look.
  traces.clear();
}

void ZKW_ParticleTracer::Save(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(kVersion);
  io.WriteInt32(ParticleAppearance::kVersion);
  io.WriteWideString(look.shapeName.Value());
  look.Save(archive);
  io.WriteUInt32(counter.rate.Value());
  io.WriteUInt32(lifetime.Value());
  io.WriteUInt32(circleSize.Value());
  io.WriteUInt32(expansion.Value());
}

void ZKW_ParticleTracer::Read(DS_IOF_Archive& archive) {
  DS_IOF_Virtual& io = archive.io();
  const int32_t version = ReadBlockVersion(archive);
  if (version > 1) {
    const int32_t lookVersion = ReadBlockVersion(archive);
    io.ReadWideString(look.shapeName.RawValue());
    look.Read(archive, lookVersion);
  }
  ReadChangedUInt32(archive, counter.rate);
  ReadChangedUInt32(archive, lifetime);
  if (version < 2) io.ReadUInt32(look.size.RawValue());
  ReadChangedUInt32(archive, circleSize);
  ReadChangedUInt32(archive, expansion);
  if (version < 4) {
    int32_t dropped = 0;
    io.ReadInt32(dropped);
    look.flags |= ParticleAppearance::kGravity;
  }
  if (version < 3) {
    look.sizeEnvelope.riseEnd.SetValue(0);
    look.sizeEnvelope.fallStart.SetValue(0);
    look.opacityEnvelope.riseEnd.SetValue(10);
    look.opacityEnvelope.fallStart.SetValue(0);
  }
}

void ZKW_ParticleTracer::InitParticle(const DS_SafePtr<RoutineParticle>& handle,
                                      const D3DXVECTOR3& origin, float reach) {
  RoutineParticle& p = *handle;
  p.AddRoutine(MakeRoutine<IPR_Kinematic>(), false);
  const float life = lifetime.Scaled();
  look.InitParticle(handle, MakeRoutine<IPR_ConstantAge>(life));
  const float e = expansion.Scaled();
  if (e > 0.0f) {
    D3DXVECTOR3 out;
    RandomDirection2D(&out, crt_rand_unit() * reach, 0.0f, 360.0f);
    p.velocity = out * e / life;
  } else {
    p.velocity = (p.DrawnCentre() - origin) * e / life;
  }
  // The opacity spread never dims a trace.
  p.ownOpacity = 0.0f;
}

void ZKW_ParticleTracer::Update(float reach, float step, const RoutineParticleList& fireflies) {
  if (lifetime.Scaled() > 0.0f) {
    for (const auto& firefly : fireflies) {
      if (!firefly) continue;
      const D3DXVECTOR3 centre = firefly->DrawnCentre();
      emitter.point.SetValue(centre);
      emitter.diameter = reach * circleSize.Scaled() * firefly->ownSize;
      const int wanted = counter.Count(step);
      const size_t room =
          kMaxParticlesPerList - std::min<size_t>(traces.size(), kMaxParticlesPerList);
      const int n = static_cast<int>(std::min<size_t>(std::max(wanted, 0), room));
      RoutineParticleList born = emitter.Generate(n);
      for (const auto& trace : born)
        InitParticle(trace, centre, reach);
      traces.insert(traces.end(), born.begin(), born.end());
    }
  }
  UpdateRoutineParticles(traces, step);
}
