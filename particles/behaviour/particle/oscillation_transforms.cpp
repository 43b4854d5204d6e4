#include "particles/behaviour/particle/oscillation_transforms.h"

#include <cmath>
#include "core/crt_rand.h"

#include "core/math/matrix_helpers.h"
#include "core/noise/value_noise.h"
#include "platform/math/d3dx_math.h"

namespace {

// float[k] moved by the wave value w: added for base 0, else scaled around the base.
void ApplyWave(float* value, float w, float base, float amplitude) {
  if (value == nullptr) return;
  if (base == 0.0f)
    *value += w * amplitude;
  else
    *value = ((w - base) * amplitude + base) * *value;
}

}  // namespace

bool PtclTr_Harmonic::Apply(float dt, ParticleRecord* p) {
  if (params == nullptr) return true;
  phase += params->frequency.Scaled() * dt;
  ApplyWave(Target(p), std::cos(phase), base, params->amplitude.Scaled());
  return true;
}

PtclTr_Perlin::PtclTr_Perlin(int k, const OscillationParams* params, float base)
    : PtclTr_FloatPrm(k), params(params), base(base) {
  const int n = crt_rand() % 32767;
  seed = n * n + 2;
}

bool PtclTr_Perlin::Apply(float dt, ParticleRecord* p) {
  if (params == nullptr) return true;
  phase += params->frequency.Scaled() * dt;
  double sum = 0.0, f = frequency, a = 1.0;
  for (int i = 0; i < octaves; ++i) {
    sum += SmoothValueNoise2D(seed, seed + phase * f) * a;
    f *= 2.0;
    a *= persistence;
  }
  ApplyWave(Target(p), static_cast<float>(scale * sum), base, params->amplitude.Scaled());
  return true;
}

bool PtclTr_Oscilator::Apply(float dt, ParticleRecord* p) {
  if (params == nullptr) return true;
  switch (params->mode.Value()) {
    case OscillationParams::kHarmonic:
      return harmonic.Apply(dt, p);
    case OscillationParams::kPerlin:
      return perlin.Apply(dt, p);
    default:
      return true;
  }
}

bool PtclTr_JitterCtrl::Apply(float, ParticleRecord* p) {
  float* value = Target(p);
  if (value != nullptr && param != nullptr && k + 6 < ParticleRecord::kFloatCount)
    *value *= param->Factor(p->floats[k + 6]);
  return true;
}

bool PtclTr_JitterUpdater::Apply(float, ParticleRecord* p) {
  float* value = Target(p);
  if (value == nullptr || param == nullptr || k + 6 >= ParticleRecord::kFloatCount) return true;
  const float v = param->value.Scaled();
  const float s = param->jitter.Scaled();
  *value *= v * (s + p->floats[k + 6] * (1.0f - s));
  return true;
}

float EnvelopeFactor(const ModedScaledParams& envelope, float t) {
  const float a = envelope.values[1].Scaled();
  const float d = envelope.values[2].Scaled();
  const float c = envelope.values[4].Scaled();
  const float e = envelope.values[5].Scaled();
  const float b = envelope.values[6].Scaled();
  if (a > t) return (t / a * (1.0f - c) + c) * b;
  // A fall that starts at 1 never falls (t cannot exceed 1), so 1 - d is not 0 here.
  if (t > d) return ((1.0f - t) / (1.0f - d) * (1.0f - e) + e) * b;
  return b;
}

bool PtclTr_AgeTransform::Apply(float, ParticleRecord* p) {
  if (float* value = Target(p); value != nullptr && envelope != nullptr)
    *value *= EnvelopeFactor(*envelope, p->floats[ParticleRecord::kLife]);
  return true;
}

bool PtclTr_StandardSpin::Apply(float dt, ParticleRecord* p) {
  if (spin == nullptr) return true;
  float angle =
      -(spin->angle.spread.Scaled() * angleRandom + spin->angle.value.Scaled()) * 0.017453292f;
  const int mode = spin->mode.Value();
  if (mode == 2) {
    const int direction = spin->direction.Value();
    const int d = direction == 0 ? 1 : direction == 1 ? -1 : spinSign;
    spinAngle += static_cast<float>(d) * dt * spin->speed.Factor(speedRandom);
    angle += spinAngle;
  }
  D3DXMATRIX m;
  D3DXMatrixRotationZ(&m, angle);
  if (mode == 1) {
    const D3DXVECTOR3& n = p->vectors[ParticleRecord::kDirection];
    D3DXMATRIX align;
    RotationZBetweenVectors(&align, n.x, n.y, n.z, 1.0f, 0.0f, 0.0f);
    m = m * align;
  }
  if (const ParticleRecord* parent = p->Parent()) m = m * parent->rotationA;
  p->rotationA = m;
  return true;
}

void AttachRandomSpin(ParticleRecord& p, const SpinPrm* spin) {
  const float angleRandom = crt_rand_unit() * 2.0f - 1.0f;
  const float speedRandom = crt_rand_unit();
  const int sign = (crt_rand() % 2) != 0 ? 1 : -1;
  AttachTransform<PtclTr_StandardSpin>(p, spin, angleRandom, speedRandom, sign);
}
