#include "particles/classic/routines/value_routines.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/crt_rand.h"
#include "core/noise/value_noise.h"

namespace {

float* Multiplier(RoutineParticle& p, int i) {
  return p.ValueAt(RoutineParticle::kFirstMultiplierValue + i);
}

}  // namespace

bool IPR_Increment::Apply(float, RoutineParticle& p) {
  if (!(remaining > 0.0f) || !(p.age > lastAge)) return true;
  const float c = std::fabs((p.age - lastAge) * rate);
  lastAge = p.age;
  if (float* value = p.ValueAt(index)) *value += std::copysign(std::min(remaining, c), rate);
  remaining -= c;
  return true;
}

bool IPR_IncrementM::Apply(float, RoutineParticle& p) {
  float m = end;
  if (!(p.age > t2)) {
    m = start;
    if (p.age > t1) m = start + (end - start) * (p.age - t1) / (t2 - t1);
  }
  if (float* value = Multiplier(p, index)) *value *= m;
  return true;
}

bool IPR_Harmonic::Apply(float, RoutineParticle& p) {
  if (float* value = Multiplier(p, index))
    *value *= std::cos(p.age * frequency + phase) * amplitude + base;
  return true;
}

IPR_Perlin::IPR_Perlin(float frequency, RoutineParticle& particle, int multiplier, float amplitude,
                       float base)
    : OscilationRoutine(multiplier), base(base) {
  auto params = std::make_unique<PerlinNoiseParams>();
  params->frequency = frequency;
  params->amplitude = amplitude * 0.5f;
  const int r = crt_rand() % 32767;
  params->seed = r * r + 2;
  noise = DS_SafePtr<PerlinNoiseParams>(std::move(params));
  Apply(0.0f, particle);
}

bool IPR_Perlin::Apply(float dt, RoutineParticle& p) {
  noiseTime += dt;
  const PerlinNoiseParams& n = *noise;
  const double seed = n.seed;
  double sum = 0.0, weight = 1.0, scale = 1.0;
  for (int k = 0; k < n.octaves; ++k) {
    sum += SmoothValueNoise2D(seed, noiseTime * n.frequency * scale + seed) * weight;
    scale *= 2.0;
    weight *= n.persistence;
  }
  if (float* value = Multiplier(p, index)) *value *= static_cast<float>(n.amplitude * sum + base);
  return true;
}
