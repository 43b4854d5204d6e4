#include "particles/classic/routines/oscillation_routines.h"

#include "core/crt_rand.h"
#include "particles/classic/routines/value_routines.h"

namespace {

void Attach(const OscillationParams& params, int index, RoutineParticle& particle, float base) {
  const float frequency = params.frequency.Scaled();
  const float amplitude = params.amplitude.Scaled();
  DS_SafePtr<InnerParticleRoutine> routine;
  switch (params.mode.Value()) {
    case OscillationParams::kHarmonic: {
      const float phase = crt_rand_unit() * 6.2831855f;
      routine = MakeRoutine<IPR_Harmonic>(index, phase, base, frequency, amplitude);
      routine->Apply(0.0f, particle);
      break;
    }
    case OscillationParams::kPerlin:
      routine = MakeRoutine<IPR_Perlin>(frequency, particle, index, amplitude * 4.0f, base);
      break;
    default:
      return;
  }
  particle.AddRoutine(std::move(routine), false);
}

}  // namespace

void AttachScaleRoutine(const OscillationParams& params, int index, RoutineParticle& particle) {
  Attach(params, index, particle, 1.0f - params.amplitude.Scaled());
}

void AttachOffsetRoutine(const OscillationParams& params, int index, RoutineParticle& particle) {
  Attach(params, index, particle, 0.0f);
}
