#include "particles/classic/emission/emission_counters.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "core/list_limits.h"

namespace {

float Interval(float seconds) {
  return std::isfinite(seconds) && seconds > 0.0f ? seconds : 0.0f;
}

}  // namespace

int ZKW_EvenImitter::Count(float dt) {
  const float perSecond = rate.Scaled();
  if (!(perSecond > 0.0f)) return 0;
  accumulator += dt;
  const int n = SaturatingTruncate<int>(accumulator * perSecond);
  accumulator -= static_cast<float>(n) / perSecond;
  return n;
}

int ZKW_RndImitter::Count(float dt) {
  elapsed += dt;
  const float lo = Interval(minimum.Value());
  const float hi = Interval(maximum.Value());
  int n = 0;
  while (elapsed > next && n < static_cast<int>(kMaxParticlesPerList)) {
    ++n;
    if (lo == 0.0f && hi == 0.0f) break;
    next += lo + crt_rand_unit() * (hi - lo);
  }
  return n;
}
