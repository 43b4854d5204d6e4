// How the appearance dresses a newborn particle and weighs its size and opacity over its life.
#include <algorithm>
#include <limits>

#include "core/crt_rand.h"
#include "particles/classic/appearance/particle_appearance.h"
#include "particles/classic/routines/color_routine.h"
#include "particles/classic/routines/motion_routines.h"
#include "particles/classic/routines/oscillation_routines.h"
#include "platform/math/d3dx_math.h"

uint32_t ParticleAppearance::Columns() const {
  return std::max<uint32_t>(1, picture.Value().valueA);
}

uint32_t ParticleAppearance::Rows() const {
  return std::max<uint32_t>(1, picture.Value().valueB);
}

void ParticleAppearance::PickAtlasCell(RoutineParticle& p) const {
  const uint32_t columns = Columns(), rows = Rows();
  const float uScale = 1.0f / static_cast<float>(columns);
  const float vScale = 1.0f / static_cast<float>(rows);
  const uint32_t column = static_cast<uint32_t>(crt_rand()) % columns;
  const uint32_t row = static_cast<uint32_t>(crt_rand()) % rows;
  p.atlasCell = {uScale, vScale, static_cast<float>(column) * uScale,
                 static_cast<float>(row) * vScale};
}

void ParticleAppearance::InitParticle(const DS_SafePtr<RoutineParticle>& handle,
                                      DS_SafePtr<InnerParticleRoutine> life) const {
  if (!handle) return;
  RoutineParticle& p = *handle;
  PickAtlasCell(p);
  if (life) p.SetLifeRoutine(std::move(life));
  p.AddRoutine(MakeRoutine<IPR_Color>(&colorSet, crt_rand_unit()), true);

  const float s = spinSpread.Scaled();
  const float r = crt_rand_unit() * (1.0f - s) + s;
  p.ownSize = crt_rand_unit();
  p.ownOpacity = crt_rand_unit();
  switch (spinDirection.Value()) {
    case 0:
      p.spinFactor = r;
      break;
    case 1:
      p.spinFactor = -r;
      break;
    case 2:
      p.spinFactor = crt_rand() % 2 == 0 ? r : -r;
      break;
    default:
      break;
  }

  const float spread = static_cast<float>(angleSpread.Value());
  const float angle =
      static_cast<float>(startAngle.Value()) + crt_rand_unit() * 2.0f * spread - spread;
  D3DXMatrixRotationZ(&p.matrix, -angle * 3.1415927f / 180.0f);

  AttachScaleRoutine(opacityOscillation, RoutineParticle::kOpacity, p);
  AttachScaleRoutine(sizeOscillation, RoutineParticle::kSize, p);
  if (flags & kOffsetOscillation) {
    AttachOffsetRoutine(alongOscillation, RoutineParticle::kAlong, p);
    AttachOffsetRoutine(acrossOscillation, RoutineParticle::kAcross, p);
  }
  if (flags & kGravity) {
    const float g = gravity.Scaled();
    if (gravityDirection.Value() == 1) p.acceleration = {0.0f, g, 0.0f};
    if (gravityDirection.Value() == 2) p.acceleration = {0.0f, -g, 0.0f};
    if (airResistance.Scaled() > 0.0f)
      p.AddRoutine(MakeRoutine<IPR_AirResist>(airResistance.Scaled()), false);
  }
}

float ParticleAppearance::LifeFraction(const RoutineParticle& p) {
  const float limit = p.LifeLimit();
  return limit > 0.0f ? p.age / limit : std::numeric_limits<float>::quiet_NaN();
}

float ParticleAppearance::ParticleSize(const RoutineParticle& p) const {
  return SizeAt(p, LifeFraction(p));
}

float ParticleAppearance::SizeAt(const RoutineParticle& p, float life) const {
  if (flags & kOwnSize) return p.ownSize;
  const float x = (1.0f - sizeSpread.Scaled() * p.ownSize) * p.multipliers[RoutineParticle::kSize];
  return sizeEnvelope.Apply(life, x);
}

float ParticleAppearance::ParticleOpacity(const RoutineParticle& p) const {
  return OpacityAt(p, LifeFraction(p));
}

float ParticleAppearance::OpacityAt(const RoutineParticle& p, float life) const {
  if (flags & kOwnOpacity) return p.ownOpacity;
  const float x =
      (1.0f - opacitySpread.Scaled() * p.ownOpacity) * p.multipliers[RoutineParticle::kOpacity];
  return opacityEnvelope.Apply(life, x);
}
