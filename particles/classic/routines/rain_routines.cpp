#include "particles/classic/routines/rain_routines.h"

#include <algorithm>
#include <cmath>

#include "core/crt_rand.h"
#include "core/math/ratio.h"
#include "platform/math/d3dx_math.h"

bool IPR_RainFall::Apply(float dt, RoutineParticle& p) {
  if (dt >= remaining) {
    remaining = 0.0f;
    p.spare &= ~kRainLanding;
    if (!(p.spare & kRainMerging)) p.ownOpacity = 1.0f;
    return true;
  }
  const float f = 1.0f - dt / remaining;
  remaining -= dt;
  p.position = landing - (landing - p.position) * f;
  p.ownOpacity = 1.0f - (1.0f - p.ownOpacity) * f;
  return true;
}

IPR_RainDynamic::IPR_RainDynamic(const D3DXVECTOR3& slide) : slide(slide) {
  DrawDrag();
}

void IPR_RainDynamic::DrawDrag() {
  drag = crt_rand_unit() * 19.0f + 1.0f;
  interval = crt_rand_unit() * 0.9f + 0.1f;
}

bool IPR_RainDynamic::Apply(float dt, RoutineParticle& p) {
  if (!(p.spare & kRainSliding) || (p.spare & (kRainMerging | kRainLanding))) return true;
  const float b = p.ownSize;
  if (b > 1.0f) {
    p.acceleration = slide;
  } else if (D3DXVec3Dot(&slide, &p.velocity) >= 0.0f) {
    p.acceleration = slide - p.velocity * RatioOr0(drag, b * b * b);
  } else {
    p.acceleration = {0, 0, 0};
    p.velocity = {0, 0, 0};
  }
  if (b > 0.7f) p.ownSize = b - D3DXVec3Length(&p.velocity) * dt * 0.001f;
  if (timer > interval) {
    DrawDrag();
    timer = 0.0f;
  } else {
    timer += dt;
  }
  return true;
}

bool IPR_RainMerge::Apply(float dt, RoutineParticle& a) {
  RoutineParticle* b = target.Get();
  if (dt <= remaining) {
    // A step of no time at the end of the merge moves nothing.
    const float f = 1.0f - RatioOr0(dt, remaining);
    remaining -= dt;
    a.ownOpacity *= f;
    if (b != nullptr) a.position = b->position - (b->position - a.position) * f;
    return true;
  }
  if (b == nullptr) return false;
  const float volume = a.ownSize * a.ownSize * a.ownSize + b->ownSize * b->ownSize * b->ownSize;
  b->ownSize = std::min(std::cbrt(volume), kMaxSize);
  if (b->spare & kRainSliding) return false;
  b->spare |= kRainSliding;
  b->atlasCell = kSlidingDropCell;
  D3DXMatrixIdentity(&b->matrix);
  return false;
}

bool PRA_RainMerge::Execute(RoutineParticle& a, DS_SafePtr<RoutineParticle>& b) {
  if (a.spare & (kRainMerging | kRainLanding)) return false;
  if (!b || (b->spare & (kRainMerging | kRainLanding))) return true;
  a.AddRoutine(MakeRoutine<IPR_RainMerge>(b), false);
  a.spare |= kRainMerging;
  a.velocity = {0, 0, 0};
  a.acceleration = {0, 0, 0};
  return false;
}

PRA_RainMerge& PRA_RainMerge::Instance() {
  static PRA_RainMerge instance;
  return instance;
}
